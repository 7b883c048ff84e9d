#pragma once

#include <QString>
#include <string_view>

namespace quarvel {

// Log lines as the viewer shows them: decoded (bytes that are not valid
// UTF-8 as replacement characters) and with tab characters expanded to
// tab stops every kLogTabColumns characters.
inline constexpr int kLogTabColumns = 8;

QString expandTabs(const QString& text);
QString logLineDisplay(std::string_view line);

} // namespace quarvel
