#pragma once

#include <cstdint>
#include <string>

namespace quarvel {

// The per-user settings store. Reads give the default when a value is
// missing or unreadable; writes report success, which nobody has to look at.
class SettingsStore
{
public:
    virtual ~SettingsStore() = default;
    virtual std::string readString(const std::string& section, const std::string& key,
                                   const std::string& fallback) = 0;
    virtual std::int32_t readInt(const std::string& section, const std::string& key,
                                 std::int32_t fallback) = 0;
    virtual bool writeString(const std::string& section, const std::string& key,
                             const std::string& value) = 0;
    virtual bool writeInt(const std::string& section, const std::string& key,
                          std::int32_t value) = 0;
};

// Where the per-user store lives: the organisation and application names.
inline constexpr char kCompanyKey[] = "Brantwick Labs";
inline constexpr char kApplicationName[] = "Quarvel";

} // namespace quarvel
