#include "platform/qt/QSettingsStore.h"

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QVariant>

namespace quarvel {

namespace {

QString keyPath(const std::string& section, const std::string& key)
{
    return QString::fromStdString(section + "/" + key);
}

} // namespace

QSettingsStore::QSettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             kCompanyKey, kApplicationName))
{
}

QSettingsStore::QSettingsStore(const std::string& filePath)
    : m_settings(
          std::make_unique<QSettings>(QString::fromStdString(filePath), QSettings::IniFormat))
{
}

QSettingsStore::~QSettingsStore()
{
    m_settings->sync();
}

std::string QSettingsStore::readString(const std::string& section, const std::string& key,
                                       const std::string& fallback)
{
    const QVariant value = m_settings->value(keyPath(section, key));
    // Stored as a byte array so that bytes that are not UTF-8 survive; a
    // value written by hand as text is taken as UTF-8.
    if (value.typeId() == QMetaType::QByteArray)
        return value.toByteArray().toStdString();
    if (value.typeId() == QMetaType::QString)
        return value.toString().toStdString();
    return fallback;
}

std::int32_t QSettingsStore::readInt(const std::string& section, const std::string& key,
                                     std::int32_t fallback)
{
    const QVariant value = m_settings->value(keyPath(section, key));
    bool ok = false;
    const int result = value.toInt(&ok);
    return ok ? result : fallback;
}

bool QSettingsStore::writeString(const std::string& section, const std::string& key,
                                 const std::string& value)
{
    m_settings->setValue(keyPath(section, key),
                         QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    return m_settings->status() == QSettings::NoError;
}

bool QSettingsStore::writeInt(const std::string& section, const std::string& key,
                              std::int32_t value)
{
    m_settings->setValue(keyPath(section, key), value);
    return m_settings->status() == QSettings::NoError;
}

bool QSettingsStore::flush()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

} // namespace quarvel
