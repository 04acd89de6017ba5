#pragma once

#include <string>
#include <string_view>

namespace brenvik::utf8 {

// Texts are UTF-8 throughout; these count and cut by characters, not bytes, so that a name such
// as "città.000" is never split inside a letter.

size_t length(std::string_view s);
std::string left(std::string_view s, size_t chars);
std::string right(std::string_view s, size_t chars);
std::string dropRight(std::string_view s, size_t chars);
std::string dropLeft(std::string_view s, size_t chars);

// The text without its last character (nothing for an empty text).
inline std::string dropLast(std::string_view s) {
    return dropRight(s, 1);
}

// ASCII-only case folding, enough for drive letters and name ordering.
inline char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string asciiLower(std::string_view s);

} // namespace brenvik::utf8
