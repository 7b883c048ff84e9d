#pragma once

#include <QString>

namespace quarvel {

class OperationLog;

// Writes the log to `path` as a text file: every line byte for byte as it
// was logged, each ended by a line feed. The file takes the place of an
// earlier one only once it is complete. Returns the reason on failure, an
// empty text on success.
QString saveLogFile(const OperationLog& log, const QString& path);

} // namespace quarvel
