#include "platform/Desktop.h"
#include "platform/IniSettingsStore.h"
#include "platform/Utf8.h"

namespace brenvik {

namespace {

// Names match without case, as in the stores on disk.
std::string keyOf(const std::string& application, const std::string& section, const std::string& key) {
    return utf8::asciiLower(application + "/" + section + "/" + key);
}

} // namespace

std::string MemorySettingsStore::read(const std::string& application, const std::string& section,
                                      const std::string& key, const std::string& defaultValue) {
    auto it = values_.find(keyOf(application, section, key));
    return it == values_.end() ? defaultValue : it->second;
}

void MemorySettingsStore::save(const std::string& application, const std::string& section, const std::string& key,
                               const std::string& value) {
    values_[keyOf(application, section, key)] = value;
    ++saves_;
}

bool MemorySettingsStore::contains(const std::string& section, const std::string& key) const {
    return values_.count(keyOf(ApplicationTitle, section, key)) > 0;
}

} // namespace brenvik
