#include "platform/SettingsStore.h"

#include "platform/Utf8.h"

namespace brenvik {

std::string settingsId(const std::string& application, const std::string& section, const std::string& key) {
    return utf8::asciiLower(application + "/" + section + "/" + key);
}

} // namespace brenvik
