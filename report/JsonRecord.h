#pragma once

#include "engine/Operation.h"
#include "engine/RunObserver.h"

#include <string>

namespace quarvel {

// One operation as a JSON object on one line (no line end):
//   {"type":"operation","kind":"rename","source":{"text":"..."},
//    "target":{"text":"..."},"status":"done"}
// Paths that are not valid UTF-8 are {"bytes":"<base64>"}. "source" and
// "target" are left out where the kind has none; content rewrites carry
// "changes"; a failure carries "errno" and "reason".
std::string OperationJson(const Operation& operation);

// The last line of a run:
//   {"type":"summary","files_processed":3,"files_morphed":2,"failures":0,
//    "interrupted":false}
std::string SummaryJson(const RunSummary& summary, bool interrupted);

// The name of a kind in the JSON records ("rename", "copy", "rewrite", ...).
const char* OperationKindName(OperationKind kind);

} // namespace quarvel
