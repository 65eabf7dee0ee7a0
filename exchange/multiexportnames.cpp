#include "exchange/multiexportnames.h"

#include "document/textcodec.h"

namespace {

const std::string Extension = ".txt";

bool IsForbidden(unsigned char c)
{
    switch (c) {
    case '/': case '\\': case '<': case '>': case ':': case '"': case '|': case '?': case '*':
        return true;
    default:
        return c < 0x20;
    }
}

std::string AsciiLower(std::string s)
{
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Cuts the UTF-8 `stem` to at most `limit` bytes, not inside a character.
std::string Truncated(const std::string& stem, size_t limit)
{
    if (stem.size() <= limit)
        return stem;
    size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(stem[end]) & 0xC0) == 0x80)
        --end;
    return stem.substr(0, end);
}

std::string Compose(const std::string& stem, const std::string& suffix)
{
    const size_t room = TMultiExportNames::MaxFileNameBytes - Extension.size() - suffix.size();
    return Truncated(stem, room) + suffix + Extension;
}

}  // namespace

std::string TMultiExportNames::Sanitize(std::string_view itemName)
{
    if (itemName == "." || itemName == "..")
        return "_";
    std::string result(itemName);
    for (char& c : result)
        if (IsForbidden(static_cast<unsigned char>(c)))
            c = '_';
    return result;
}

std::string TMultiExportNames::FileName(std::string_view itemName)
{
    // Linux file names are UTF-8 by convention: a name stored in the old
    // single-byte code page goes out as the text the editor shows.
    const std::string stem = EncodeText(DecodeText(Sanitize(itemName)).text, TTextEncoding::Utf8);
    std::string name = Compose(stem, "");
    if (m_used.insert(AsciiLower(name)).second)
        return name;
    // Start where the last clash of this stem stopped, so many equal names
    // do not retry every number each time.
    int& next = m_nextNumber.try_emplace(AsciiLower(stem), 2).first->second;
    for (;; ++next) {
        name = Compose(stem, " (" + std::to_string(next) + ")");
        if (m_used.insert(AsciiLower(name)).second) {
            ++next;
            return name;
        }
    }
}
