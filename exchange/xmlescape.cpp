#include "exchange/xmlescape.h"

#include <array>
#include <cstdint>
#include <cstring>

namespace {

constexpr char Hex[] = "0123456789ABCDEF";
constexpr std::string_view ReplacementCharacter = "\xEF\xBF\xBD";

template <TXmlEscaping Style> constexpr bool IsHtml = Style == TXmlEscaping::Html;
template <TXmlEscaping Style> constexpr bool IsExact = Style == TXmlEscaping::OpmlExact;

// The length of the forbidden character at `at`, 0 when there is none. Valid
// UTF-8 holds no surrogates, so above the controls only U+FFFE and U+FFFF are.
template <TXmlEscaping Style> size_t ForbiddenLength(std::string_view text, size_t at)
{
    const auto b = static_cast<unsigned char>(text[at]);
    if (b < 0x20)
        return b == '\t' || b == '\n' || b == '\r' ? 0 : 1;
    if (b == 0x7F)
        return IsHtml<Style> ? 1 : 0;
    if (b == 0xEF && at + 2 < text.size() && static_cast<unsigned char>(text[at + 1]) == 0xBF &&
        (static_cast<unsigned char>(text[at + 2]) & 0xFE) == 0xBE)
        return 3;
    return 0;
}

// The bytes that need a look: markup characters, controls, and 0xEF, which
// may begin U+FFFE or U+FFFF; for HTML "'" and DEL, for an exact copy "%".
// Every other byte is copied as it is, which is most of any text.
template <TXmlEscaping Style> const std::array<bool, 256>& Special()
{
    static const std::array<bool, 256> table = [] {
        std::array<bool, 256> special{};
        for (int b = 0; b < 0x20; ++b)
            special[b] = true;
        for (unsigned char c : std::string_view("&<>\"\xEF"))
            special[c] = true;
        if (IsHtml<Style>)
            special['\''] = special[0x7F] = true;
        if (IsExact<Style>)
            special['%'] = true;
        return special;
    }();
    return table;
}

// True when one of the eight bytes of `word` may be special: attribute texts
// are long runs of ordinary bytes, which this skips a word at a time. HTML,
// with two more bytes to look for, is as fast byte by byte.
template <TXmlEscaping Style> bool MayHoldSpecial(uint64_t word)
{
    constexpr uint64_t Ones = 0x0101010101010101ULL;
    constexpr uint64_t Highs = 0x8080808080808080ULL;
    const auto hasZero = [](uint64_t v) { return (v - Ones) & ~v & Highs; };
    const auto has = [&](unsigned char b) { return hasZero(word ^ (Ones * b)); };
    const uint64_t below20 = (word - Ones * 0x20) & ~word & Highs;
    uint64_t found = below20 | has('&') | has('<') | has('>') | has('"') | has(0xEF);
    if constexpr (IsExact<Style>)
        found |= has('%');
    return found != 0;
}

template <TXmlEscaping Style> const char* EntityOf(char c)
{
    switch (c) {
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
    case '"': return "&quot;";
    case '\'': return IsHtml<Style> ? "&#39;" : nullptr;
    case '\t': return IsHtml<Style> ? nullptr : "&#9;";
    case '\n': return IsHtml<Style> ? nullptr : "&#10;";
    case '\r': return IsHtml<Style> ? nullptr : "&#13;";
    case '%': return IsExact<Style> ? "%25" : nullptr;
    default: return nullptr;
    }
}

template <TXmlEscaping Style> void AppendForbidden(std::string& out, std::string_view bytes)
{
    if constexpr (IsHtml<Style>) {
        out += "&#xFFFD;";
    } else if constexpr (IsExact<Style>) {
        for (const char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            out += '%';
            out += Hex[b >> 4];
            out += Hex[b & 15];
        }
    } else {
        out += ReplacementCharacter;
    }
}

template <TXmlEscaping Style> bool AppendEscaped(std::string& out, std::string_view text)
{
    bool forbiddenSeen = false;
    const bool* special = Special<Style>().data();
    const char* const bytes = text.data();
    const size_t size = text.size();
    size_t run = 0;
    size_t i = 0;
    while (i < size) {
        if constexpr (!IsHtml<Style>) {
            uint64_t word;
            while (i + sizeof word <= size) {
                std::memcpy(&word, bytes + i, sizeof word);
                if (MayHoldSpecial<Style>(word))
                    break;
                i += sizeof word;
            }
        }
        if (i == size)
            break;
        const char c = bytes[i];
        if (!special[static_cast<unsigned char>(c)]) {
            ++i;
            continue;
        }
        const char* entity = EntityOf<Style>(c);
        const size_t forbidden = entity ? 0 : ForbiddenLength<Style>(text, i);
        if (!entity && !forbidden) {
            ++i;
            continue;
        }
        out.append(bytes + run, i - run);
        if (entity) {
            out += entity;
            ++i;
        } else {
            AppendForbidden<Style>(out, text.substr(i, forbidden));
            i += forbidden;
            forbiddenSeen = true;
        }
        run = i;
    }
    out.append(bytes + run, size - run);
    return forbiddenSeen;
}

}  // namespace

bool AppendXmlEscaped(std::string& out, std::string_view text, TXmlEscaping style)
{
    switch (style) {
    case TXmlEscaping::Html: return AppendEscaped<TXmlEscaping::Html>(out, text);
    case TXmlEscaping::OpmlAttribute: return AppendEscaped<TXmlEscaping::OpmlAttribute>(out, text);
    case TXmlEscaping::OpmlExact: return AppendEscaped<TXmlEscaping::OpmlExact>(out, text);
    }
    return false;
}
