#pragma once

#include "platform/Status.h"

#include <cstdint>
#include <string>
#include <utility>

namespace quarvel {

// What one operation of a run was about.
enum class OperationKind
{
    Rename,         // file-name mode: source renamed to target
    Copy,           // file-name mode: source copied byte for byte to target
    RewriteInPlace, // file-data mode: source's new content written to target (its new name)
    WriteCopy,      // file-data mode: source's new content written to target in the output tree
    CreateFolder,   // target, an output folder
    ReadFile,       // file-data mode: reading source (recorded only when it failed)
    SearchFile,     // file-data mode: searching source's content (recorded only when it failed)
    SkipSpecial,    // source is a FIFO, device or socket and was left alone
    SkipSymlink,    // source is a symbolic link and was not rewritten in place
    ConfirmAll,     // the user answered "Yes All": no more questions in this run
    CancelAll,      // the user answered "Cancel All": every further operation refused
};

// How an operation ended.
struct OperationStatus
{
    enum class Outcome
    {
        Done,
        Refused, // the user said no
        Failed,  // `error` and `reason` say why
    };

    Outcome outcome = Outcome::Done;
    int error = 0;      // errno of a failure
    std::string reason; // the system's words for it

    static OperationStatus done() { return {}; }
    static OperationStatus refused() { return {Outcome::Refused, 0, {}}; }
    static OperationStatus failed(int error, std::string reason)
    {
        return {Outcome::Failed, error, std::move(reason)};
    }
    static OperationStatus failed(const Status& status)
    {
        return failed(status.code(), status.message());
    }
    bool isDone() const { return outcome == Outcome::Done; }
    bool isFailure() const { return outcome == Outcome::Failed; }
};

// One record per operation, handed to the run's observers as it happens.
// Paths are full paths as bytes; `target` is empty where the kind has none,
// `changes` counts the replacements of a content rewrite.
struct Operation
{
    OperationKind kind = OperationKind::Rename;
    std::string source;
    std::string target;
    std::int64_t changes = 0;
    OperationStatus status;
};

} // namespace quarvel
