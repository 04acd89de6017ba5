#include "platform/windows/Win32.h"

#include "platform/RuntimeError.h"

#include <climits>

namespace brenvik::win {

std::wstring widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    if (utf8.size() > INT_MAX)
        throw RuntimeError(err::BadFileNameOrNumber);
    const int size = static_cast<int>(utf8.size());
    const int n = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, nullptr, 0);
    if (n <= 0)
        throw RuntimeError(err::BadFileNameOrNumber);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), size, out.data(), n);
    return out;
}

std::wstring widenShown(std::string_view utf8) {
    try {
        return widen(utf8);
    } catch (const RuntimeError&) {
        return L"?";
    }
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty() || wide.size() > INT_MAX)
        return {};
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        return {};
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

} // namespace brenvik::win
