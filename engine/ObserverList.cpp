#include "engine/RunObserver.h"

namespace quarvel {

void ObserverList::runStarted(const RunOptions& options)
{
    for (RunObserver* observer : m_observers)
        observer->runStarted(options);
}

void ObserverList::folderStarted(const std::string& relativePath)
{
    for (RunObserver* observer : m_observers)
        observer->folderStarted(relativePath);
}

void ObserverList::progressed(int position, std::int32_t filesProcessed)
{
    for (RunObserver* observer : m_observers)
        observer->progressed(position, filesProcessed);
}

void ObserverList::operationDone(const Operation& operation)
{
    for (RunObserver* observer : m_observers)
        observer->operationDone(operation);
}

void ObserverList::runFinished(const RunSummary& summary)
{
    for (RunObserver* observer : m_observers)
        observer->runFinished(summary);
}

} // namespace quarvel
