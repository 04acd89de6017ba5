#pragma once

#include "platform/SettingsStore.h"

#include <map>
#include <string>

namespace brenvik {

// A store in memory: the tests' and the benchmark's, whose runs must leave nothing behind.
class MemorySettingsStore : public SettingsStore {
public:
    std::string read(const std::string& application, const std::string& section, const std::string& key,
                     const std::string& defaultValue) override;
    void save(const std::string& application, const std::string& section, const std::string& key,
              const std::string& value) override;

    bool contains(const std::string& section, const std::string& key) const;
    size_t size() const { return values_.size(); }
    int saves() const { return saves_; }

private:
    std::map<std::string, std::string> values_;
    int saves_ = 0;
};

} // namespace brenvik
