#include "platform/MemorySettingsStore.h"

#include "platform/Desktop.h"

namespace brenvik {

std::string MemorySettingsStore::read(const std::string& application, const std::string& section,
                                      const std::string& key, const std::string& defaultValue) {
    auto it = values_.find(settingsId(application, section, key));
    return it == values_.end() ? defaultValue : it->second;
}

void MemorySettingsStore::save(const std::string& application, const std::string& section, const std::string& key,
                               const std::string& value) {
    values_[settingsId(application, section, key)] = value;
    ++saves_;
}

bool MemorySettingsStore::contains(const std::string& section, const std::string& key) const {
    return values_.count(settingsId(ApplicationTitle, section, key)) > 0;
}

} // namespace brenvik
