#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace brenvik {

// Text <-> number conversions with the runtime's rules. Sizes are 64-bit here; the windows decide
// which range they accept.

// The value of the longest numeric prefix ("12ab" -> 12, "x" -> 0, " 7" -> 7). Never fails.
double leadingNumber(std::string_view text);

// A strict conversion: surrounding blanks allowed, then an optional sign, digits with an optional
// decimal point and exponent. Empty or non-numeric text gives nothing.
std::optional<double> strictNumber(std::string_view text);

// Rounds to the nearest whole number, ties to even (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Round half to even into a signed 16-bit, 32-bit or 64-bit integer; nothing when out of range
// (the runtime's overflow).
std::optional<int16_t> fitInt16(double value);
std::optional<int32_t> fitInt32(double value);
std::optional<int64_t> fitInt64(double value);

// A whole number as plain decimal digits, with a minus sign when negative.
std::string formatWhole(int64_t value);

// A number as the runtime writes it: whole numbers without decimals, others with up to 15
// significant digits.
std::string formatNumber(double value);

// A stored text read as a truth value: a number is true when it is not 0, and the words "true" and
// "false" in any case are accepted; anything else gives nothing.
std::optional<bool> truthValue(std::string_view text);

} // namespace brenvik
