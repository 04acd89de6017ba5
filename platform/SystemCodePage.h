#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace brenvik::syscp {

// The OEM code page in which this system's command interpreter reads batch files: the system's
// own on Windows (GetOEMCP); elsewhere 850, the page of the Italian Windows the parts go to.
int oemCodePage();

// The UTF-8 text in that page, one byte per character (more for a double-byte page); nothing when
// the text holds a character the page has no byte for, or is not valid UTF-8.
std::optional<std::string> toOem(std::string_view utf8);

} // namespace brenvik::syscp
