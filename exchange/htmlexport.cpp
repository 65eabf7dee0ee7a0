#include "exchange/htmlexport.h"

#include "document/fileio.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/fileimport.h"
#include "exchange/importsupport.h"
#include "exchange/treewalk.h"

#include <array>

namespace {

constexpr char Head[] = R"(<!DOCTYPE html>
<html>
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<meta name="generator" content="VekTreeViewEditor">
<title>)";

constexpr char Style[] = R"(</title>
<style>
body { font-family: sans-serif; line-height: 1.4; margin: 1em 2em; }
details { margin: 0.15em 0 0.15em 1.25em; }
body > details { margin-left: 0; }
summary { cursor: pointer; font-weight: bold; }
pre { white-space: pre-wrap; overflow-wrap: anywhere; font-family: monospace; margin: 0.25em 0 0.5em 1.25em; }
@media print {
  body { margin: 0; font-size: 11pt; }
  summary { cursor: auto; list-style: none; break-after: avoid; }
  summary::-webkit-details-marker { display: none; }
  pre { break-inside: avoid; }
}
</style>
</head>
<body>
<h1>)";

// Text for element content or an attribute: markup characters as entities,
// characters HTML has no place for as U+FFFD.
void AppendEscaped(std::string& out, std::string_view text)
{
    // Most bytes are copied as they are; these need a look.
    static const std::array<bool, 256> special = [] {
        std::array<bool, 256> table{};
        for (int b = 0; b < 0x20; ++b)
            table[b] = true;
        for (unsigned char c : std::string_view("&<>\"'\x7F\xEF"))
            table[c] = true;
        return table;
    }();
    size_t run = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b = static_cast<unsigned char>(text[i]);
        if (!special[b])
            continue;
        const char* entity = nullptr;
        size_t skip = 1;
        switch (b) {
        case '&': entity = "&amp;"; break;
        case '<': entity = "&lt;"; break;
        case '>': entity = "&gt;"; break;
        case '"': entity = "&quot;"; break;
        case '\'': entity = "&#39;"; break;
        case '\t':
        case '\n':
        case '\r':
            break;
        default:
            if (b < 0x20 || b == 0x7F) {
                entity = "&#xFFFD;";
            } else if (b == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBF &&
                       (static_cast<unsigned char>(text[i + 2]) & 0xFE) == 0xBE) {
                entity = "&#xFFFD;";
                skip = 3;
            }
            break;
        }
        if (!entity)
            continue;
        out.append(text.data() + run, i - run);
        out += entity;
        i += skip - 1;
        run = i + 1;
    }
    out.append(text.data() + run, text.size() - run);
}

}  // namespace

void ExportHtml(const TTreeList& tree, const std::string& fileName)
{
    tree.CommitEdits();
    TBufferedWriter file = CreateExportFile(fileName);
    std::string scratch;
    std::string title;
    std::string name = FileNameOfPath(fileName);
    if (const size_t dot = name.rfind('.'); dot != std::string::npos && dot > 0)
        name.erase(dot);
    AppendEscaped(title, AsUtf8(name, scratch));
    std::string out = Head;
    out += title;
    out += Style;
    out += title;
    out += "</h1>\n";
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int) {
            out += "<details open><summary>";
            AppendEscaped(out, AsUtf8(item.GetText(TreeListColumnName), scratch));
            out += "</summary>\n";
            const std::string_view desc = AsUtf8(item.GetText(TreeListColumnDesc), scratch);
            if (!desc.empty()) {
                // A parser drops the line break right after <pre>: this one,
                // so that a description's own first line break stays.
                out += "<pre>\n";
                AppendEscaped(out, desc);
                out += "</pre>\n";
            }
            if (out.size() >= (1 << 20)) {
                file.Write(out);
                out.clear();
            }
        },
        [&](const TTreeListTextNode&, int) { out += "</details>\n"; });
    out += "</body>\n</html>\n";
    file.Write(out);
    file.Close();
}
