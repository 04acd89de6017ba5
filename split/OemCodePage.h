#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brenvik::oem {

// The command interpreter reads a batch file in the console's OEM code page, not in the ANSI
// one: 850 on a Western European system, and the page the scripts are written in.

// The UTF-8 text in code page 850, one byte per character; nothing when the text holds a
// character that page has no byte for, or is not valid UTF-8.
std::optional<std::string> fromUtf8(std::string_view text);

} // namespace brenvik::oem
