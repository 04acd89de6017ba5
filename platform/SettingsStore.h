#pragma once

#include <string>

namespace brenvik {

// The per-user settings store: texts addressed by application, section and key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // The stored text, or `defaultValue` when the key (or its section) does not exist. Reading
    // never writes anything.
    virtual std::string read(const std::string& application, const std::string& section, const std::string& key,
                             const std::string& defaultValue) = 0;

    // Creates the application, section and key as needed. The value is on disk when this returns.
    virtual void save(const std::string& application, const std::string& section, const std::string& key,
                      const std::string& value) = 0;
};

// One text for an application, section and key, for stores that keep their values in a map:
// names match without case, as in the stores on disk.
std::string settingsId(const std::string& application, const std::string& section, const std::string& key);

} // namespace brenvik
