#pragma once

#include "platform/SettingsStore.h"

#include <memory>

class QSettings;

namespace quarvel {

// The settings store on QSettings (organisation "Brantwick Labs",
// application "Quarvel", native format: on Linux
// $XDG_CONFIG_HOME/Brantwick Labs/Quarvel.conf). Strings that are valid
// UTF-8 are stored as readable text, others as byte arrays; either form
// reads back, so any byte sequence (CR LF, the yen separator, non-UTF-8)
// comes back exactly.
class QSettingsStore : public SettingsStore
{
public:
    QSettingsStore();
    // A store in an explicit file (tests).
    explicit QSettingsStore(const std::string& filePath);
    ~QSettingsStore() override;

    std::string readString(const std::string& section, const std::string& key,
                           const std::string& fallback) override;
    std::int32_t readInt(const std::string& section, const std::string& key,
                         std::int32_t fallback) override;
    bool writeString(const std::string& section, const std::string& key,
                     const std::string& value) override;
    bool writeInt(const std::string& section, const std::string& key, std::int32_t value) override;

    // Writes pending values to disk; false when the store could not be written.
    bool flush();

private:
    std::unique_ptr<QSettings> m_settings;
};

} // namespace quarvel
