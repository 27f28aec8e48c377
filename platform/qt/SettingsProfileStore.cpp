#include "platform/qt/SettingsProfileStore.h"

#include "platform/FileIo.h"

#include <QStandardPaths>

namespace kzev {

namespace {

QString key(const std::string& section, const std::string& name)
{
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}

} // namespace

SettingsProfileStore::SettingsProfileStore(const QString& iniPath)
    : m_settings(iniPath, QSettings::IniFormat)
{
}

std::unique_ptr<SettingsProfileStore> SettingsProfileStore::open(const QString& iniPath)
{
    try {
        // Checked on the opened file; the settings library then reads it at once, while it is held open.
        const ReadableFile checked(iniPath.toStdString());
        return std::make_unique<SettingsProfileStore>(iniPath);
    } catch (const FileError& error) {
        if (error.isMissing())
            return std::make_unique<SettingsProfileStore>(iniPath);
        return nullptr;
    }
}

QString SettingsProfileStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
        + QStringLiteral("/Borva 92/HEMSOR Kzev 6.3.ini");
}

int SettingsProfileStore::getInt(const std::string& section, const std::string& name, int fallback) const
{
    bool ok = false;
    const int value = m_settings.value(key(section, name)).toInt(&ok);
    return ok ? value : fallback;
}

void SettingsProfileStore::setInt(const std::string& section, const std::string& name, int value)
{
    m_settings.setValue(key(section, name), value);
}

std::string SettingsProfileStore::getString(const std::string& section, const std::string& name,
    const std::string& fallback) const
{
    const QVariant value = m_settings.value(key(section, name));
    return value.isValid() ? value.toString().toStdString() : fallback;
}

void SettingsProfileStore::setString(const std::string& section, const std::string& name, const std::string& value)
{
    m_settings.setValue(key(section, name), QString::fromStdString(value));
}

std::vector<std::uint8_t> SettingsProfileStore::getBinary(const std::string& section, const std::string& name) const
{
    const QByteArray bytes = m_settings.value(key(section, name)).toByteArray();
    return { bytes.begin(), bytes.end() };
}

void SettingsProfileStore::setBinary(const std::string& section, const std::string& name,
    const std::vector<std::uint8_t>& value)
{
    m_settings.setValue(key(section, name),
        QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
}

void SettingsProfileStore::sync()
{
    m_settings.sync();
}

} // namespace kzev
