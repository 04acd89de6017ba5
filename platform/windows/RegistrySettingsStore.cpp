#include "platform/windows/RegistrySettingsStore.h"

#include "platform/RuntimeError.h"
#include "platform/windows/Win32.h"

#include <vector>

namespace brenvik {

RegistrySettingsStore::RegistrySettingsStore(std::string parentKey) : parent_(std::move(parentKey)) {}

std::string RegistrySettingsStore::sectionKey(const std::string& application, const std::string& section) const {
    return parent_ + "\\" + application + "\\" + section;
}

std::string RegistrySettingsStore::read(const std::string& application, const std::string& section,
                                        const std::string& key, const std::string& defaultValue) {
    if (auto it = unsaved_.find(settingsId(application, section, key)); it != unsaved_.end())
        return it->second;
    try {
        const std::wstring subKey = win::widen(sectionKey(application, section));
        const std::wstring name = win::widen(key);
        // The size is asked first; a value that grows in between is asked again.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD bytes = 0;
            LSTATUS s = ::RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                                       &bytes);
            if (s != ERROR_SUCCESS)
                return defaultValue;
            std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
            bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
            s = ::RegGetValueW(HKEY_CURRENT_USER, subKey.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(),
                               &bytes);
            if (s == ERROR_MORE_DATA)
                continue;
            if (s != ERROR_SUCCESS)
                return defaultValue;
            return win::narrow(buffer.data());
        }
    } catch (const RuntimeError&) {
        // A name that is not UTF-8 cannot have been stored.
    }
    return defaultValue;
}

void RegistrySettingsStore::save(const std::string& application, const std::string& section, const std::string& key,
                                 const std::string& value) {
    const std::string id = settingsId(application, section, key);
    bool saved = false;
    try {
        const std::wstring subKey = win::widen(sectionKey(application, section));
        const std::wstring name = win::widen(key);
        const std::wstring text = win::widen(value);
        HKEY handle = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                              nullptr, &handle, nullptr) == ERROR_SUCCESS) {
            const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
            saved = ::RegSetValueExW(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                     bytes) == ERROR_SUCCESS;
            // The program may end at once after a save; the flush puts the value on disk first.
            saved = saved && ::RegFlushKey(handle) == ERROR_SUCCESS;
            ::RegCloseKey(handle);
        }
    } catch (const RuntimeError&) {
        saved = false;
    }
    if (saved)
        unsaved_.erase(id);
    else
        unsaved_[id] = value;
}

} // namespace brenvik
