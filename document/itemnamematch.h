#pragma once

#include <string>
#include <string_view>

class TTreeListTextNode;

// True when an item's stored name decodes to a given name, as the editor
// shows it, without decoding every name of the tree: the name is encoded
// once both ways a name may be stored.
class TItemNameMatch {
public:
    explicit TItemNameMatch(const std::u16string& name);
    bool operator()(const TTreeListTextNode* item) const;
    bool operator()(std::string_view bytes) const;

    const std::string& Utf8() const { return m_utf8; }
    const std::string& Windows1252() const { return m_ansi; }

private:
    std::string m_utf8;
    std::string m_ansi;
};
