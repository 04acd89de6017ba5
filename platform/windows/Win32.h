#pragma once

// The Win32 API without its min/max macros and rarely used parts, and the conversions between
// the program's UTF-8 texts and the API's UTF-16 ones.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <string>
#include <string_view>
#include <windows.h>

namespace brenvik::win {

// UTF-8 to UTF-16; a text that is not valid UTF-8 names no file, so it throws RuntimeError 52.
std::wstring widen(std::string_view utf8);
// A text of the program's for the screen: one that is not valid UTF-8 (the program makes its own
// texts valid, and the system's names always are) shows as "?" instead of failing.
std::wstring widenShown(std::string_view utf8);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string narrow(std::wstring_view wide);

} // namespace brenvik::win
