#include "platform/Convert.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace brenvik {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// Length of the numeric text at the start of `s` (sign, digits, point, exponent), 0 when none.
size_t numericPrefix(std::string_view s) {
    size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    size_t digits = 0;
    while (i < s.size() && isDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

double parse(std::string_view s) {
    std::string copy(s);
    return std::strtod(copy.c_str(), nullptr);
}

template <typename T>
T toIntegral(double value) {
    double r = roundHalfEven(value);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max())))
        throw RuntimeError(err::Overflow);
    return static_cast<T>(r);
}

} // namespace

double leadingNumber(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    std::string_view rest = text.substr(start);
    size_t n = numericPrefix(rest);
    return n == 0 ? 0.0 : parse(rest.substr(0, n));
}

std::optional<double> strictNumber(std::string_view text) {
    size_t start = 0;
    size_t end = text.size();
    while (start < end && isBlank(text[start]))
        ++start;
    while (end > start && isBlank(text[end - 1]))
        --end;
    std::string_view body = text.substr(start, end - start);
    if (body.empty() || numericPrefix(body) != body.size())
        return std::nullopt;
    double v = parse(body);
    if (!std::isfinite(v))
        return std::nullopt;
    return v;
}

double toNumber(std::string_view text) {
    auto v = strictNumber(text);
    if (!v)
        throw RuntimeError(err::TypeMismatch);
    return *v;
}

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

int16_t toInt16(double value) {
    return toIntegral<int16_t>(value);
}
int32_t toInt32(double value) {
    return toIntegral<int32_t>(value);
}

int64_t toInt64(double value) {
    double r = roundHalfEven(value);
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        throw RuntimeError(err::Overflow);
    return static_cast<int64_t>(r);
}

std::string formatWhole(int64_t value) {
    return std::to_string(value);
}

std::string formatNumber(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<int64_t>(value));
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    return buf;
}

std::optional<bool> truthValue(std::string_view text) {
    if (auto v = strictNumber(text))
        return *v != 0.0;
    std::string lower;
    for (char c : text)
        if (!isBlank(c))
            lower += utf8::asciiLower(c);
    if (lower == "true" || lower == "vero")
        return true;
    if (lower == "false" || lower == "falso")
        return false;
    return std::nullopt;
}

} // namespace brenvik
