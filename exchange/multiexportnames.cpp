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

// Cuts `stem` to at most `limit` bytes; a UTF-8 name is not cut inside a
// character.
std::string Truncated(const std::string& stem, size_t limit, bool utf8)
{
    if (stem.size() <= limit)
        return stem;
    size_t end = limit;
    if (utf8)
        while (end > 0 && (static_cast<unsigned char>(stem[end]) & 0xC0) == 0x80)
            --end;
    return stem.substr(0, end);
}

std::string Compose(const std::string& stem, bool utf8, const std::string& suffix)
{
    const size_t room = TMultiExportNames::MaxFileNameBytes - Extension.size() - suffix.size();
    return Truncated(stem, room, utf8) + suffix + Extension;
}

}  // namespace

std::string TMultiExportNames::Sanitize(const std::string& itemName)
{
    if (itemName == "." || itemName == "..")
        return "_";
    std::string result = itemName;
    for (char& c : result)
        if (IsForbidden(static_cast<unsigned char>(c)))
            c = '_';
    return result;
}

std::string TMultiExportNames::FileName(const std::string& itemName)
{
    const std::string stem = Sanitize(itemName);
    const bool utf8 = IsValidUtf8(stem);
    std::string name = Compose(stem, utf8, "");
    if (m_used.insert(AsciiLower(name)).second)
        return name;
    // Start where the last clash of this stem stopped, so many equal names
    // do not retry every number each time.
    int& next = m_nextNumber.try_emplace(AsciiLower(stem), 2).first->second;
    for (;; ++next) {
        name = Compose(stem, utf8, " (" + std::to_string(next) + ")");
        if (m_used.insert(AsciiLower(name)).second) {
            ++next;
            return name;
        }
    }
}
