#include "exchange/htmlexport.h"

#include "document/fileio.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/fileimport.h"
#include "exchange/importsupport.h"
#include "exchange/treewalk.h"
#include "exchange/xmlescape.h"


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
    AppendXmlEscaped(title, AsUtf8(name, scratch), TXmlEscaping::Html);
    std::string out = Head;
    out += title;
    out += Style;
    out += title;
    out += "</h1>\n";
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int) {
            out += "<details open><summary>";
            AppendXmlEscaped(out, AsUtf8(item.GetText(TreeListColumnName), scratch), TXmlEscaping::Html);
            out += "</summary>\n";
            const std::string_view desc = AsUtf8(item.GetText(TreeListColumnDesc), scratch);
            if (!desc.empty()) {
                // A parser drops the line break right after <pre>: this one,
                // so that a description's own first line break stays.
                out += "<pre>\n";
                AppendXmlEscaped(out, desc, TXmlEscaping::Html);
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
