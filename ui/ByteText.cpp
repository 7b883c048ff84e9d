#include "ui/ByteText.h"

#include <QByteArray>

namespace quarvel {

QString decodeBytes(std::string_view bytes)
{
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QString singleLineDisplay(std::string_view bytes)
{
    const QString decoded = decodeBytes(bytes);
    QString shown;
    shown.reserve(decoded.size());
    for (qsizetype i = 0; i < decoded.size(); ++i) {
        const QChar c = decoded.at(i);
        if (c == u'\r' && i + 1 < decoded.size() && decoded.at(i + 1) == u'\n') {
            shown.append(QChar(kCrLfSymbol));
            ++i;
        } else if (c == u'\n') {
            shown.append(QChar(kLfSymbol));
        } else if (c == u'\r') {
            shown.append(QChar(kCrSymbol));
        } else {
            shown.append(c);
        }
    }
    return shown;
}

std::string bytesFromSingleLine(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (const QChar c : text) {
        if (c == QChar(kCrLfSymbol))
            plain.append(QStringLiteral("\r\n"));
        else if (c == QChar(kLfSymbol))
            plain.append(u'\n');
        else if (c == QChar(kCrSymbol))
            plain.append(u'\r');
        else
            plain.append(c);
    }
    return plain.toUtf8().toStdString();
}

} // namespace quarvel
