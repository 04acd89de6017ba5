#pragma once

#include "platform/SettingsStore.h"

#include <chrono>
#include <map>
#include <string>

namespace brenvik {

// The settings store as one INI file per application in a folder of the user's ("Brenvik.ini"):
// sections as [section], keys as key=value, names matched without case, values kept exactly as
// text. Every save rewrites the file through a synced temporary file and a rename, so a crash or
// an immediate end never leaves it half written. A file that cannot be read counts as empty; a
// save that cannot reach the disk is kept for the rest of the run.
class IniSettingsStore : public SettingsStore {
public:
    // `bound`: how long a save waits for another program saving; WaitBound unless told.
    explicit IniSettingsStore(std::string folder, std::chrono::milliseconds bound = WaitBound);

    // $XDG_CONFIG_HOME/brenvik, else ~/.config/brenvik.
    static std::string defaultFolder();

    std::string read(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& defaultValue) override;
    void save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;

    std::string filePath(const std::string& application) const;

private:
    std::string folder_;
    std::chrono::milliseconds bound_;
    // Values whose save did not reach the disk, by "application/section/key" in lower case.
    std::map<std::string, std::string> unsaved_;
};

} // namespace brenvik
