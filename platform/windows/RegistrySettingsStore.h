#pragma once

#include "platform/SettingsStore.h"

#include <map>
#include <string>

namespace brenvik {

// The settings store in the user's registry: HKEY_CURRENT_USER\Software\<application>\<section>,
// one string value per key. Names match without case, as the registry's do; values are kept
// exactly as text. Every save is flushed before it returns; a save the registry refuses is kept
// for the rest of the run.
class RegistrySettingsStore : public SettingsStore {
public:
    // `parentKey` is the key below HKEY_CURRENT_USER that holds the applications' keys; tests give
    // one of their own.
    explicit RegistrySettingsStore(std::string parentKey = "Software");

    std::string read(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& defaultValue) override;
    void save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;

    // The key of a section below HKEY_CURRENT_USER: "Software\Brenvik\opzioni".
    std::string sectionKey(const std::string& application, const std::string& section) const;

private:
    std::string parent_;
    // Values whose save did not reach the registry, by "application/section/key" in lower case.
    std::map<std::string, std::string> unsaved_;
};

} // namespace brenvik
