#include "exchange/indentedtext.h"

#include "document/treelist.h"

#include <algorithm>
#include <vector>

void ReadIndentedText(TTreeList& tree, std::string_view text, const TImportLimits& limits)
{
    if (text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    TTreeBuilder builder(tree, limits.MaxDepth);
    size_t unit = 0;
    std::vector<size_t> widths;  // the indentation of the last line of each level above
    int64_t lineNumber = 0;
    size_t start = 0;
    while (start < text.size()) {
        ++lineNumber;
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        if (line.size() > limits.MaxTextBytes)
            throw EImportError("", lineNumber, 0,
                               "a line longer than " + std::to_string(limits.MaxTextBytes) + " bytes");
        const size_t indent = line.find_first_not_of(" \t");
        if (indent == std::string_view::npos)
            continue;
        size_t tabs = 0;
        for (size_t i = 0; i < indent; ++i)
            tabs += line[i] == '\t';
        const size_t spaces = indent - tabs;
        if (spaces > 0 && unit == 0)
            unit = spaces;
        const size_t width = tabs + (spaces > 0 ? spaces / unit : 0);
        // The parent is the nearest line above that is indented less.
        while (!widths.empty() && widths.back() >= width)
            widths.pop_back();
        const int depth = static_cast<int>(widths.size());
        widths.push_back(width);
        builder.Add(depth, lineNumber, 1)->SetText(TreeListColumnName, line.substr(indent));
    }
}
