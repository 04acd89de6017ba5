#include "platform/Utf8.h"

namespace brenvik::utf8 {

namespace {

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Byte offset of character number `chars` (clamped to the end).
size_t offsetOf(std::string_view s, size_t chars) {
    size_t i = 0;
    while (i < s.size() && chars > 0) {
        ++i;
        while (i < s.size() && isContinuation(static_cast<unsigned char>(s[i])))
            ++i;
        --chars;
    }
    return i;
}

} // namespace

size_t length(std::string_view s) {
    size_t n = 0;
    for (char c : s)
        if (!isContinuation(static_cast<unsigned char>(c)))
            ++n;
    return n;
}

std::string left(std::string_view s, size_t chars) {
    return std::string(s.substr(0, offsetOf(s, chars)));
}

std::string right(std::string_view s, size_t chars) {
    size_t len = length(s);
    return chars >= len ? std::string(s) : std::string(s.substr(offsetOf(s, len - chars)));
}

std::string dropRight(std::string_view s, size_t chars) {
    size_t len = length(s);
    return chars >= len ? std::string() : left(s, len - chars);
}

std::string dropLeft(std::string_view s, size_t chars) {
    return std::string(s.substr(offsetOf(s, chars)));
}

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = asciiLower(c);
    return out;
}

} // namespace brenvik::utf8
