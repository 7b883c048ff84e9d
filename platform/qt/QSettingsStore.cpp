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

// Text that is valid UTF-8 is stored as plain text, so that the file reads
// as it was typed; anything else (a folder name that is not UTF-8, say) as a
// byte array, which the file shows as @ByteArray(...). A value goes in as
// text only when decoding and encoding give back every byte.
QVariant storedForm(const std::string& value)
{
    const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes)
        return text;
    return bytes;
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
    // Text is UTF-8; a byte array (bytes that are not UTF-8, and every
    // string an earlier build wrote) is taken byte for byte.
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
    m_settings->setValue(keyPath(section, key), storedForm(value));
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
