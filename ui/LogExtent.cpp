#include "ui/LogExtent.h"

#include "report/OperationLog.h"
#include "ui/LogText.h"

#include <QFontMetricsF>
#include <QtMath>
#include <array>

namespace quarvel {

namespace {

// Advances of the 128 ASCII characters, so that a line made of them is
// measured by adding up numbers.
class AsciiAdvances
{
public:
    explicit AsciiAdvances(const QFontMetricsF& metrics)
    {
        for (int c = 0; c < 128; ++c)
            m_advance[c] = metrics.horizontalAdvance(QChar(c));
    }

    // False when the line holds a byte outside ASCII.
    bool measure(std::string_view line, qreal& width) const
    {
        width = 0;
        int column = 0;
        for (const char byte : line) {
            const auto c = static_cast<unsigned char>(byte);
            if (c >= 128)
                return false;
            if (c == '\t') {
                const int spaces = kLogTabColumns - column % kLogTabColumns;
                width += spaces * m_advance[' '];
                column += spaces;
            } else {
                width += m_advance[c];
                ++column;
            }
        }
        return true;
    }

private:
    std::array<qreal, 128> m_advance{};
};

} // namespace

int widestLogLine(const OperationLog& log, const QFont& font)
{
    const QFontMetricsF metrics(font);
    const AsciiAdvances ascii(metrics);
    qreal widest = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        const std::string_view line = log.line(i);
        qreal width = 0;
        if (!ascii.measure(line, width))
            width = metrics.horizontalAdvance(logLineDisplay(line));
        widest = qMax(widest, width);
    }
    return qCeil(widest);
}

} // namespace quarvel
