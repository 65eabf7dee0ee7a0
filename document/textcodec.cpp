#include "document/textcodec.h"

#include <cstdint>
#include <cstring>

namespace {

// Windows-1252 from 0x80 to 0x9F. The five bytes the code page leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) keep their C1 control value so
// that no byte is lost.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

// The byte for `c`, or -1 when Windows-1252 has none.
int UnicodeToCp1252(char32_t c)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] == c)
            return 0x80 + i;
    return -1;
}

// Length of the well-formed UTF-8 sequence at `i`, 0 when there is none.
size_t Utf8SequenceLength(std::string_view s, size_t i, char32_t& out)
{
    const auto b0 = static_cast<unsigned char>(s[i]);
    const size_t left = s.size() - i;
    auto cont = [&](size_t k) { return static_cast<unsigned char>(s[i + k]) & 0x3F; };
    auto isCont = [&](size_t k) { return (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80; };
    if (b0 < 0x80) {
        out = b0;
        return 1;
    }
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        if (left < 2 || !isCont(1))
            return 0;
        out = static_cast<char32_t>((b0 & 0x1F) << 6 | cont(1));
        return 2;
    }
    if (b0 >= 0xE0 && b0 <= 0xEF) {
        if (left < 3 || !isCont(1) || !isCont(2))
            return 0;
        out = static_cast<char32_t>((b0 & 0x0F) << 12 | cont(1) << 6 | cont(2));
        if (out < 0x800 || (out >= 0xD800 && out <= 0xDFFF))
            return 0;
        return 3;
    }
    if (b0 >= 0xF0 && b0 <= 0xF4) {
        if (left < 4 || !isCont(1) || !isCont(2) || !isCont(3))
            return 0;
        out = static_cast<char32_t>((b0 & 0x07) << 18 | cont(1) << 12 | cont(2) << 6 | cont(3));
        if (out < 0x10000 || out > 0x10FFFF)
            return 0;
        return 4;
    }
    return 0;
}

void AppendUtf16(std::u16string& out, char32_t c)
{
    if (c < 0x10000) {
        out.push_back(static_cast<char16_t>(c));
    } else {
        c -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// Code points of UTF-16 text; an unpaired surrogate becomes U+FFFD.
template <typename F> void ForEachCodePoint(const std::u16string& text, F&& f)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            f(0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            f(char32_t(0xFFFD));
        } else {
            f(static_cast<char32_t>(u));
        }
    }
}

}  // namespace

char16_t Cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return Cp1252High[byte - 0x80];
    return byte;
}

bool IsValidUtf8(std::string_view bytes)
{
    char32_t c = 0;
    for (size_t i = 0; i < bytes.size();) {
        // Descriptions are mostly ASCII: eight bytes at a time while they are.
        uint64_t word;
        if (i + sizeof word <= bytes.size()) {
            std::memcpy(&word, bytes.data() + i, sizeof word);
            if ((word & 0x8080808080808080ULL) == 0) {
                i += sizeof word;
                continue;
            }
        }
        const size_t n = Utf8SequenceLength(bytes, i, c);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

TDecodedText DecodeText(std::string_view bytes)
{
    TDecodedText result{{}, TTextEncoding::Utf8};
    result.text.reserve(bytes.size());
    if (IsValidUtf8(bytes)) {
        char32_t c = 0;
        for (size_t i = 0; i < bytes.size();) {
            i += Utf8SequenceLength(bytes, i, c);
            AppendUtf16(result.text, c);
        }
        return result;
    }
    result.encoding = TTextEncoding::Windows1252;
    for (char b : bytes)
        result.text.push_back(Cp1252ToUnicode(static_cast<unsigned char>(b)));
    return result;
}

std::string EncodeText(const std::u16string& text, TTextEncoding preferred)
{
    std::string out;
    out.reserve(text.size());
    if (preferred == TTextEncoding::Windows1252) {
        bool fits = true;
        ForEachCodePoint(text, [&](char32_t c) {
            if (!fits)
                return;
            const int b = UnicodeToCp1252(c);
            if (b < 0)
                fits = false;
            else
                out.push_back(static_cast<char>(b));
        });
        if (fits)
            return out;
        out.clear();
    }
    ForEachCodePoint(text, [&](char32_t c) { AppendUtf8(out, c); });
    return out;
}
