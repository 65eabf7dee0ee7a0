#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

// Hands out the file names of a one-file-per-item export: every name is a
// plain name inside the target folder (no path delimiters, no "." or "..",
// nothing Windows or Linux cannot store) and no two names of one export are
// equal without regard to ASCII case, so one item never overwrites another
// item's file, also on case-insensitive file systems.
class TMultiExportNames {
public:
    // The longest file name most file systems accept, in bytes.
    static constexpr size_t MaxFileNameBytes = 255;

    // The file name for the next item, in document order: the sanitised
    // name as UTF-8 of the text the editor shows, " (2)", " (3)" ... when the
    // name is already taken, then ".txt".
    std::string FileName(std::string_view itemName);

    // The item name with every character a file name cannot hold (/ \ < > :
    // " | ? * and the control characters 0x00-0x1F) replaced by "_"; the
    // names "." and ".." become "_".
    static std::string Sanitize(std::string_view itemName);

private:
    std::unordered_set<std::string> m_used;             // lower-cased file names handed out
    std::unordered_map<std::string, int> m_nextNumber;  // lower-cased stem -> next number to try
};
