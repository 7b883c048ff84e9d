#include "report/JsonRecord.h"

#include "report/JsonText.h"

namespace quarvel {

namespace {

const char* statusName(OperationStatus::Outcome outcome)
{
    switch (outcome) {
    case OperationStatus::Outcome::Done:
        return "done";
    case OperationStatus::Outcome::Refused:
        return "refused";
    case OperationStatus::Outcome::Failed:
        return "failed";
    }
    return "failed";
}

bool carriesChanges(OperationKind kind)
{
    return kind == OperationKind::RewriteInPlace || kind == OperationKind::WriteCopy;
}

void appendField(std::string& out, const char* name)
{
    out.append(",\"").append(name).append("\":");
}

} // namespace

const char* OperationKindName(OperationKind kind)
{
    switch (kind) {
    case OperationKind::Rename:
        return "rename";
    case OperationKind::Copy:
        return "copy";
    case OperationKind::RewriteInPlace:
        return "rewrite";
    case OperationKind::WriteCopy:
        return "write_copy";
    case OperationKind::CreateFolder:
        return "create_folder";
    case OperationKind::ReadFile:
        return "read";
    case OperationKind::SearchFile:
        return "search";
    case OperationKind::SkipSpecial:
        return "skip_special";
    case OperationKind::SkipSymlink:
        return "skip_symlink";
    case OperationKind::ConfirmAll:
        return "confirm_all";
    case OperationKind::CancelAll:
        return "cancel_all";
    }
    return "unknown";
}

std::string OperationJson(const Operation& op)
{
    std::string out = "{\"type\":\"operation\",\"kind\":\"";
    out.append(OperationKindName(op.kind)).push_back('"');
    if (!op.source.empty()) {
        appendField(out, "source");
        appendJsonBytes(out, op.source);
    }
    if (!op.target.empty()) {
        appendField(out, "target");
        appendJsonBytes(out, op.target);
    }
    if (carriesChanges(op.kind) && op.status.isDone()) {
        appendField(out, "changes");
        out.append(std::to_string(op.changes));
    }
    appendField(out, "status");
    out.append("\"").append(statusName(op.status.outcome)).append("\"");
    if (op.status.isFailure()) {
        appendField(out, "errno");
        out.append(std::to_string(op.status.error));
        appendField(out, "reason");
        if (isValidUtf8(op.status.reason))
            appendJsonString(out, op.status.reason);
        else
            appendJsonBytes(out, op.status.reason);
    }
    out.push_back('}');
    return out;
}

std::string SummaryJson(const RunSummary& summary, bool interrupted)
{
    return "{\"type\":\"summary\",\"files_processed\":" + std::to_string(summary.filesProcessed) +
           ",\"files_morphed\":" + std::to_string(summary.filesMorphed) +
           ",\"failures\":" + std::to_string(summary.failures) +
           ",\"interrupted\":" + (interrupted ? "true" : "false") + "}";
}

} // namespace quarvel
