#include "platform/Convert.h"

#include "platform/RuntimeError.h"
#include "platform/Utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
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

// The decimal exponent of a numeric text's first significant digit, which tells an overflow (above
// 0) from an underflow.
long magnitude(std::string_view s) {
    long exponent = 0;
    if (size_t e = s.find_first_of("eE"); e != std::string_view::npos) {
        std::string_view digits = s.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 100000L);
        exponent = negative ? -exponent : exponent;
        s = s.substr(0, e);
    }
    long position = 0;
    bool seenPoint = false;
    for (char c : s) {
        if (c == '.') {
            seenPoint = true;
        } else if (isDigit(c)) {
            if (c != '0')
                return exponent + position + (seenPoint ? 0 : 1);
            position += seenPoint ? -1 : 0;
        }
    }
    return exponent + position;
}

// A numeric prefix as numericPrefix found it, read the same way whatever the locale's decimal
// separator: past the largest double it is infinite, below the smallest 0.
double parse(std::string_view s) {
    const bool negative = !s.empty() && s.front() == '-';
    if (!s.empty() && (s.front() == '+' || s.front() == '-'))
        s.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = magnitude(s) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

template <typename T>
std::optional<T> fitIntegral(double value) {
    double r = roundHalfEven(value);
    if (!(r >= static_cast<double>(std::numeric_limits<T>::min()) &&
          r <= static_cast<double>(std::numeric_limits<T>::max())))
        return std::nullopt;
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

double roundHalfEven(double value) {
    return std::nearbyint(value);
}

std::optional<int16_t> fitInt16(double value) {
    return fitIntegral<int16_t>(value);
}

std::optional<int32_t> fitInt32(double value) {
    return fitIntegral<int32_t>(value);
}

std::optional<int64_t> fitInt64(double value) {
    double r = roundHalfEven(value);
    // 2^63 is exactly representable; anything at or above it does not fit.
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        return std::nullopt;
    return static_cast<int64_t>(r);
}

std::string formatWhole(int64_t value) {
    return std::to_string(value);
}

std::string formatNumber(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<int64_t>(value));
    char buf[64];
    const auto [end, error] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    (void)error; // 64 characters hold any double at 15 digits
    return std::string(buf, end);
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
