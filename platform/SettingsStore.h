#pragma once

#include <chrono>
#include <functional>
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

    // A store shared with other programs may have to wait while one of them saves. `waiting` is
    // then called every few milliseconds on the thread that saves, with Waiting, so that the
    // window keeps answering; once with Over when the wait ends, or with GaveUp when the store
    // gives up after WaitBound, keeping the value for this run only.
    enum class Wait { Waiting, Over, GaveUp };
    void onWaiting(std::function<void(Wait)> waiting) { waiting_ = std::move(waiting); }
    static constexpr std::chrono::seconds WaitBound{30};

protected:
    std::function<void(Wait)> waiting_;
};

// One text for an application, section and key, for stores that keep their values in a map:
// names match without case, as in the stores on disk.
std::string settingsId(const std::string& application, const std::string& section, const std::string& key);

} // namespace brenvik
