#include "cli/CliObservers.h"

#include "report/JsonRecord.h"

namespace quarvel::cli {

void ProgressObserver::runStarted(const RunOptions& options)
{
    m_startFolder = options.selection.startFolder;
}

void ProgressObserver::folderStarted(const std::string& relativePath)
{
    m_progress.setFolder(m_startFolder + relativePath);
}

void ProgressObserver::progressed(int, std::int32_t filesProcessed)
{
    m_progress.update(filesProcessed);
}

void ProgressObserver::runFinished(const RunSummary&)
{
    m_progress.clear();
}

void JsonObserver::operationDone(const Operation& operation)
{
    if (m_sharesTerminal)
        m_progress.clear();
    m_output.writeLine(OperationJson(operation));
}

} // namespace quarvel::cli
