#pragma once

#include <string>
#include <string_view>

// Items hold bytes exactly as the file holds them. For display and editing a
// string is decoded as UTF-8 when it is valid UTF-8, otherwise as
// Windows-1252, where the five bytes that code page leaves undefined map to
// the C1 control of the same value, so every byte sequence decodes and
// re-encodes to itself.
enum class TTextEncoding { Utf8, Windows1252 };

struct TDecodedText {
    std::u16string text;
    TTextEncoding encoding;
};

bool IsValidUtf8(std::string_view bytes);
// The character of one Windows-1252 byte (the undefined five as C1 controls).
char16_t Cp1252ToUnicode(unsigned char byte);
TDecodedText DecodeText(std::string_view bytes);

// Encodes in `preferred` when every character fits, otherwise as UTF-8.
// Unpaired surrogates become U+FFFD.
std::string EncodeText(const std::u16string& text, TTextEncoding preferred);
