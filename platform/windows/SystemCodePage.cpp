#include "platform/SystemCodePage.h"

#include "platform/RuntimeError.h"
#include "platform/windows/Win32.h"

#include <climits>

namespace brenvik::syscp {

int oemCodePage() {
    return static_cast<int>(::GetOEMCP());
}

std::optional<std::string> toOem(std::string_view utf8) {
    if (utf8.empty())
        return std::string();
    std::wstring wide;
    try {
        wide = win::widen(utf8);
    } catch (const RuntimeError&) {
        return std::nullopt;
    }
    if (wide.size() > INT_MAX / 4)
        return std::nullopt;
    const UINT page = ::GetOEMCP();
    // No best fit: "€" must not quietly become "E" in a file name. UTF-8 takes neither the flag
    // nor the question whether a character was missing.
    const bool utf8Page = page == CP_UTF8;
    const DWORD flags = utf8Page ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL missing = FALSE;
    BOOL* askMissing = utf8Page ? nullptr : &missing;
    const int size = static_cast<int>(wide.size());
    const int n = ::WideCharToMultiByte(page, flags, wide.data(), size, nullptr, 0, nullptr, askMissing);
    if (n <= 0 || missing)
        return std::nullopt;
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(page, flags, wide.data(), size, out.data(), n, nullptr, askMissing);
    if (missing)
        return std::nullopt;
    return out;
}

} // namespace brenvik::syscp
