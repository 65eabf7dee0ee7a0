#include "document/strtoint.h"

namespace {

[[noreturn]] void ThrowNotInteger(const std::string& text)
{
    throw EConvertError("'" + text + "' is not a valid integer value");
}

int HexDigitValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

int32_t StrToInt(const std::string& text)
{
    size_t i = 0;
    const size_t n = text.size();
    while (i < n && text[i] != '\0' && static_cast<unsigned char>(text[i]) <= 0x20)
        ++i;

    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    bool hex = false;
    if (i < n && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
        hex = true;
        ++i;
    } else if (i + 1 < n && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }

    if (i == n)
        ThrowNotInteger(text);

    // Unsigned arithmetic keeps the wrap-around of hex patterns well defined.
    uint64_t magnitude = 0;
    for (; i < n; ++i) {
        const int digit = hex ? HexDigitValue(text[i])
                              : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0)
            ThrowNotInteger(text);
        magnitude = magnitude * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
        if (magnitude > 0xFFFFFFFFull)
            ThrowNotInteger(text);
    }

    if (!hex && magnitude > (negative ? 0x80000000ull : 0x7FFFFFFFull))
        ThrowNotInteger(text);

    uint32_t bits = static_cast<uint32_t>(magnitude);
    if (negative)
        bits = 0u - bits;
    return static_cast<int32_t>(bits);
}
