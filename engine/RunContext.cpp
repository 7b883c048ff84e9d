#include "engine/RunContext.h"

#include "platform/Path.h"

#include <cerrno>

namespace quarvel {

bool RunContext::confirm(ConfirmationQuestion question)
{
    const ConfirmationGate::Decision decision = m_gate.decide(question);
    if (decision.ruleChange)
        record(*decision.ruleChange, {});
    return decision.goAhead;
}

void RunContext::record(Operation operation)
{
    if (operation.status.isFailure())
        ++m_failures;
    m_observer.operationDone(operation);
}

void RunContext::record(OperationKind kind, std::string source, std::string target,
                        OperationStatus status, std::int64_t changes)
{
    record(Operation{kind, std::move(source), std::move(target), changes, std::move(status)});
}

bool RunContext::EnsureFolder(const std::string& base, const std::string& relative)
{
    const std::string wanted = base + relative;
    if (fs.folderExists(wanted))
        return true;
    if (!confirm({"Create Directory", wanted, std::nullopt}))
        return false;
    Status reason = fs.createFolder(wanted);
    if (!reason) {
        // The parent is missing too: create the relative part level by
        // level, from the outside in. A level that exists already fails
        // harmlessly; the base folder itself is never created here.
        for (std::size_t at = relative.find(kSeparator); at != std::string::npos;
             at = relative.find(kSeparator, at + 1)) {
            const Status level = fs.createFolder(base + relative.substr(0, at + 1));
            if (!level && level.code() != EEXIST)
                reason = level;
        }
    }
    // Record the creation only when the folder is really there now.
    if (!fs.folderExists(wanted)) {
        record(OperationKind::CreateFolder, {}, wanted, OperationStatus::failed(reason));
        return false;
    }
    record(OperationKind::CreateFolder, {}, wanted);
    return true;
}

void RunContext::StepProgress()
{
    m_observer.progressed(m_progress.step(), m_filesProcessed);
}

bool RunContext::StopRequested()
{
    if (!m_stopped && m_stop && m_stop())
        m_stopped = true;
    return m_stopped;
}

} // namespace quarvel
