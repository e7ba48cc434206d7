// The operator's numbers from the window's texts, read as the scanf family
// reads them, but never past what a value on the wire can hold.
#pragma once

#include <optional>
#include <string_view>

// The decimal integer at the start of a text: leading blanks, an optional
// sign, then digits up to the first other character; 0 without digits.
// Clamped to the range of long instead of overflowing.
long LeadingInteger(std::string_view text);
// The decimal integer at the start of a text as "%d" reads it, or nothing
// when the text does not start with one; clamped like LeadingInteger.
std::optional<long> ScanInteger(std::string_view text);
// The decimal number at the start of a text: leading blanks, an optional
// sign, digits with an optional fraction and exponent; what follows is
// ignored. Nothing when there is none, and nothing for a number a float
// cannot hold: "nan", "inf" and hexadecimal notation are not numbers an
// operator types.
std::optional<double> ScanNumber(std::string_view text);
// ScanNumber, or 0 when the text holds no number.
double LeadingNumber(std::string_view text);
