#include "exchange/htmlexport.h"

#include "document/fileio.h"
#include "document/linkgrammar.h"
#include "document/textcodec.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/fileimport.h"
#include "exchange/importsupport.h"
#include "exchange/treewalk.h"
#include "exchange/xmlescape.h"

#include <string_view>
#include <unordered_map>

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

// Item links become links inside the page: each item a link finds gets an
// id, numbered in the order the links first name them.
struct TPageLinks {
    explicit TPageLinks(const TTreeList& tree) : tree(tree) {}

    const TTreeListTextNode* Target(std::string_view link)
    {
        const auto found = resolved.find(std::string(link));
        if (found != resolved.end())
            return found->second;
        const TTreeListTextNode* item = ResolveItemLink(tree, ItemLinkPath(DecodeText(link).text));
        resolved.emplace(std::string(link), item);
        if (item && ids.find(item) == ids.end())
            ids.emplace(item, ids.size() + 1);
        return item;
    }

    const TTreeList& tree;
    std::unordered_map<std::string, const TTreeListTextNode*> resolved;
    std::unordered_map<const TTreeListTextNode*, size_t> ids;
};

// Only addresses a browser opens by itself become links; ftp and file
// addresses stay text.
bool IsWebAddress(std::string_view address)
{
    for (std::string_view scheme : {"http://", "https://", "mailto:"}) {
        if (address.size() < scheme.size())
            continue;
        bool same = true;
        for (size_t i = 0; same && i < scheme.size(); ++i)
            same = (address[i] | 0x20) == scheme[i];  // the grammar already matched a scheme
        if (same)
            return true;
    }
    return false;
}

std::string ItemId(size_t number)
{
    return "item-" + std::to_string(number);
}

void AppendDescription(std::string& out, std::string_view desc, TPageLinks& links)
{
    size_t at = 0;
    for (const TLinkSpan& span : FindLinks(desc)) {
        AppendXmlEscaped(out, desc.substr(at, span.start - at), TXmlEscaping::Html);
        const std::string_view text = desc.substr(span.start, span.length);
        std::string href;
        if (span.kind == TLinkKind::Address && IsWebAddress(text))
            href = text;
        else if (const TTreeListTextNode* item = span.kind == TLinkKind::Item ? links.Target(text) : nullptr)
            href = "#" + ItemId(links.ids.at(item));
        if (href.empty()) {
            AppendXmlEscaped(out, text, TXmlEscaping::Html);
        } else {
            out += "<a href=\"";
            AppendXmlEscaped(out, href, TXmlEscaping::Html);
            out += "\">";
            AppendXmlEscaped(out, text, TXmlEscaping::Html);
            out += "</a>";
        }
        at = span.start + span.length;
    }
    AppendXmlEscaped(out, desc.substr(at), TXmlEscaping::Html);
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
    AppendXmlEscaped(title, AsUtf8(name, scratch), TXmlEscaping::Html);
    std::string out = Head;
    out += title;
    out += Style;
    out += title;
    out += "</h1>\n";
    // Every link's target first: a section may come before the links to it.
    TPageLinks links(tree);
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int) {
            // "[[" reads the same in both encodings: most descriptions need no decoding here.
            if (item.GetText(TreeListColumnDesc).find("[[") == std::string_view::npos)
                return;
            const std::string_view desc = AsUtf8(item.GetText(TreeListColumnDesc), scratch);
            for (const TLinkSpan& span : FindLinks(desc))
                if (span.kind == TLinkKind::Item)
                    links.Target(desc.substr(span.start, span.length));
        },
        [](const TTreeListTextNode&, int) {});
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int) {
            const auto id = links.ids.find(&item);
            out += id == links.ids.end() ? "<details open>" : "<details open id=\"" + ItemId(id->second) + "\">";
            out += "<summary>";
            AppendXmlEscaped(out, AsUtf8(item.GetText(TreeListColumnName), scratch), TXmlEscaping::Html);
            out += "</summary>\n";
            const std::string_view desc = AsUtf8(item.GetText(TreeListColumnDesc), scratch);
            if (!desc.empty()) {
                // A parser drops the line break right after <pre>: this one,
                // so that a description's own first line break stays.
                out += "<pre>\n";
                AppendDescription(out, desc, links);
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
