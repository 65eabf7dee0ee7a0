#include "exchange/indentedtext.h"

#include "document/treelist.h"

#include <algorithm>
#include <climits>
#include <vector>

namespace {
struct TLine {
    int tabs = 0;
    int spaces = 0;
    std::string_view name;
};

std::vector<TLine> SplitLines(std::string_view text)
{
    std::vector<TLine> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find_first_of("\r\n", at);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(at, end - at);
        at = end;
        if (at < text.size())
            at += text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n' ? 2 : 1;
        TLine parsed;
        size_t lead = 0;
        for (; lead < line.size() && (line[lead] == '\t' || line[lead] == ' '); ++lead)
            ++(line[lead] == '\t' ? parsed.tabs : parsed.spaces);
        line.remove_prefix(lead);
        while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
            line.remove_suffix(1);
        if (line.empty())
            continue;
        parsed.name = line;
        lines.push_back(parsed);
    }
    return lines;
}
}  // namespace

void ReadIndentedText(TTreeList& tree, std::string_view text)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    const std::vector<TLine> lines = SplitLines(text);
    int unit = INT_MAX;
    for (const TLine& line : lines)
        if (line.spaces > 0)
            unit = std::min(unit, line.spaces);
    std::vector<int> depths;
    depths.reserve(lines.size());
    int least = INT_MAX;
    for (const TLine& line : lines) {
        depths.push_back(line.tabs + (line.spaces > 0 ? line.spaces / unit : 0));
        least = std::min(least, depths.back());
    }
    // The items still open for children, outermost first.
    std::vector<TTreeListTextNode*> open;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t depth = static_cast<size_t>(depths[i] - least);
        if (open.size() > depth)
            open.resize(depth);
        TTreeListTextNode* item = open.empty() ? tree.AddItem() : open.back()->AddChild();
        item->SetText(TreeListColumnName, lines[i].name);
        open.push_back(item);
    }
}
