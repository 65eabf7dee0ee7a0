#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

// Raised when a text is not a number; what() is the message shown to the user.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Converts the icon picker's text to a 32-bit integer. Accepted: leading
// blanks (bytes 0x01 to 0x20), an optional "+" or "-", then decimal digits,
// or hexadecimal digits after "$", "x", "X", "0x" or "0X". Nothing may follow
// the digits, not even a blank, so a stray character is reported rather than
// silently dropped. Decimal values must lie within the int32 range;
// hexadecimal values up to FFFFFFFF are taken as the 32-bit pattern, so
// "$FFFFFFFF" is -1 (a "-" then negates that pattern).
// Throws EConvertError "'<text>' is not a valid integer value".
int32_t StrToInt(const std::string& text);
