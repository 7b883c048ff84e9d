#pragma once

class QFont;

namespace quarvel {

class OperationLog;

// The width in pixels of the widest line of `log` as the viewer shows it
// (see logLineDisplay) in `font`. Fast enough for a log of millions of
// lines: ASCII lines are measured from a table of character advances, the
// others are laid out.
int widestLogLine(const OperationLog& log, const QFont& font);

} // namespace quarvel
