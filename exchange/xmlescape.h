#pragma once

#include <string>
#include <string_view>

// How a writer escapes UTF-8 text for markup. Every style writes the markup
// characters as entities and treats the characters XML 1.0 has no place for
// (C0 controls but tab, line feed and carriage return; U+FFFE, U+FFFF) as
// forbidden.
enum class TXmlEscaping {
    // HTML element text or attribute: also "'" as an entity; tab and line
    // breaks as they are; DEL forbidden too; a forbidden character as &#xFFFD;.
    Html,
    // An OPML attribute value: tab and line breaks as character references,
    // which a parser would otherwise turn into spaces; a forbidden character
    // as U+FFFD.
    OpmlAttribute,
    // An exact copy in an OPML attribute: as OpmlAttribute, but a forbidden
    // character, and "%", as %XX per byte, so that decoding gives every byte back.
    OpmlExact,
};

// Appends `text` escaped to `out`; true when the text held a forbidden character.
bool AppendXmlEscaped(std::string& out, std::string_view text, TXmlEscaping style);
