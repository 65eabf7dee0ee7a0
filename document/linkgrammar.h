#pragma once

#include "document/textcodec.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TTreeList;
class TTreeListTextNode;

// Links written in descriptions: web addresses, and item links "[[Name]]" or
// "[[Top/Middle/Name]]" with "\/" for a "/" inside a name. Every marker is
// ASCII, so the same scan serves decoded text and the bytes of UTF-8 or
// Windows-1252 text.
enum class TLinkKind { Address, Item };

struct TLinkSpan {
    size_t start = 0;   // first character of the link as written
    size_t length = 0;  // for an item link, the brackets included
    TLinkKind kind = TLinkKind::Address;

    bool operator==(const TLinkSpan& other) const
    {
        return start == other.start && length == other.length && kind == other.kind;
    }
};

// The links of a line, or of a range of text: an item link never crosses a
// line break, an address ends at white space.
std::vector<TLinkSpan> FindLinks(std::u16string_view text);
std::vector<TLinkSpan> FindLinks(std::string_view text);

// The names of an item link's path, "\/" turned back into "/"; `link` is the
// span's text with or without its brackets.
std::vector<std::u16string> ItemLinkPath(std::u16string_view link);

// One name or path written as an item link: "[[Name]]" or "[[Top/Name]]".
std::u16string ItemLinkText(const std::vector<std::u16string>& path);

// The item a link's path finds: one name, the first item in tree order with
// that exact name; several, the first path of such names from a top-level
// item down. None when nothing matches.
TTreeListTextNode* ResolveItemLink(const TTreeList& tree, const std::vector<std::u16string>& path);

// The shortest link that finds `item`: its name alone when that finds it,
// otherwise its path from the top level.
std::u16string ShortestItemLink(const TTreeList& tree, const TTreeListTextNode* item);
// The link to `item` by its name alone, or by its path from the top level.
std::u16string ItemLinkOf(const TTreeListTextNode* item, bool byPath);

// The item links of one description that find a given item.
struct TLinksInDescription {
    TTreeListTextNode* holder = nullptr;  // the item whose description it is
    TDecodedText description;
    std::vector<TLinkSpan> links;  // in `description.text`
};

// The description with each of its links replaced by `replacement`, encoded
// as it was when every character allows.
std::string ReplaceLinks(const TLinksInDescription& found, const std::u16string& replacement);
