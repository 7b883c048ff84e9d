#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace quarvel {

// Texts are byte strings (UTF-8 in practice). These convert them for the
// controls: bytes that are not valid UTF-8 show as replacement characters.

// Plain decoding for display.
QString decodeBytes(std::string_view bytes);

// One-line display of a text that may hold line breaks: each break shows
// as a visible symbol, CR LF as U+21B5, a lone LF as U+2193, a lone CR as
// U+2190 (arrows that the common fonts hold), so that what the field shows
// is what a run uses.
QString singleLineDisplay(std::string_view bytes);

// The reverse of singleLineDisplay for a text the user has edited: the
// break symbols turn back into the breaks they stand for, the rest is
// encoded as UTF-8.
std::string bytesFromSingleLine(const QString& text);

inline constexpr char16_t kCrLfSymbol = u'\u21B5';
inline constexpr char16_t kLfSymbol = u'\u2193';
inline constexpr char16_t kCrSymbol = u'\u2190';

} // namespace quarvel
