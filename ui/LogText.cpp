#include "ui/LogText.h"

#include "ui/ByteText.h"

namespace quarvel {

QString expandTabs(const QString& text)
{
    if (!text.contains(u'\t'))
        return text;
    QString expanded;
    expanded.reserve(text.size() + kLogTabColumns);
    for (const QChar c : text) {
        if (c == u'\t')
            expanded.append(QString(kLogTabColumns - expanded.size() % kLogTabColumns, u' '));
        else
            expanded.append(c);
    }
    return expanded;
}

QString logLineDisplay(std::string_view line)
{
    return expandTabs(decodeBytes(line));
}

} // namespace quarvel
