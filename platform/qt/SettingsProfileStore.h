#pragma once

#include "platform/ProfileStore.h"

#include <QSettings>

#include <memory>

namespace kzev {

/**
 * The profile store on a QSettings INI file in the user's configuration
 * folder; texts are kept as UTF-8, binary values as byte arrays.
 */
class SettingsProfileStore final : public IProfileStore {
public:
    /** Opens the INI file at the given path. */
    explicit SettingsProfileStore(const QString& iniPath);

    /**
     * Returns the store on the INI file, or none when something other than a
     * regular file that can be read stands at the path (a named pipe there
     * would hold the program at its start). A missing file is made at the
     * first write.
     */
    [[nodiscard]] static std::unique_ptr<SettingsProfileStore> open(const QString& iniPath);

    int getInt(const std::string& section, const std::string& name, int fallback) const override;
    void setInt(const std::string& section, const std::string& name, int value) override;
    std::string getString(const std::string& section, const std::string& name,
        const std::string& fallback) const override;
    void setString(const std::string& section, const std::string& name, const std::string& value) override;
    std::vector<std::uint8_t> getBinary(const std::string& section, const std::string& name) const override;
    void setBinary(const std::string& section, const std::string& name,
        const std::vector<std::uint8_t>& value) override;

    /** Writes pending changes to the file. */
    void sync();

    /** Returns the default INI path: <config folder>/Borva 92/HEMSOR Kzev 6.3.ini. */
    static QString defaultPath();

private:
    mutable QSettings m_settings;
};

} // namespace kzev
