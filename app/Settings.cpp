#include "app/Settings.h"

#include "platform/Convert.h"
#include "platform/Desktop.h"
#include "platform/SettingsStore.h"
#include "platform/WinPath.h"

#include <cmath>

namespace brenvik {

std::string Settings::text(Key key, const std::string& defaultValue) const {
    return store_.read(ApplicationTitle, key.section, key.key, defaultValue);
}

void Settings::save(Key key, const std::string& value) const {
    store_.save(ApplicationTitle, key.section, key.key, value);
}

double Settings::leadingNumber(Key key, int defaultValue) const {
    return brenvik::leadingNumber(text(key, std::to_string(defaultValue)));
}

bool Settings::truth(Key key, int defaultValue) const {
    auto v = truthValue(text(key, std::to_string(defaultValue)));
    return v ? *v : defaultValue != 0;
}

std::string Settings::destination() const {
    std::string stored = text(Destinazione, DefaultDestinazione);
    // An empty destination means beside the source; any other must name its drive.
    return stored.empty() || winpath::driveLetter(stored) ? stored : DefaultDestinazione;
}

int Settings::checkState(Key key, int defaultValue) const {
    auto v = strictNumber(text(key, std::to_string(defaultValue)));
    if (v && (*v == 0.0 || *v == 1.0))
        return static_cast<int>(*v);
    return defaultValue;
}

} // namespace brenvik
