#include "tests/outlinetestkit.h"

#include "exchange/indentedtext.h"

#include <vector>

std::string Dump(const TTreeList& tree, const TTreeListTextNode* parent)
{
    std::string text;
    const int count = parent ? parent->Count() : tree.TopItemCount();
    for (int i = 0; i < count; ++i) {
        const TTreeListTextNode* item = parent ? parent->Child(i) : tree.TopItem(i);
        if (i > 0)
            text += ' ';
        text += item->GetText(TreeListColumnName);
        if (item->HasChildren())
            text += '(' + Dump(tree, item) + ')';
    }
    return text;
}

TTreeListTextNode* Find(const TTreeList& tree, std::string_view name)
{
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        if (item->GetText(TreeListColumnName) == name)
            return item;
    return nullptr;
}

void BuildOutline(TTreeList& tree, const std::string& outline)
{
    TTreeList built;
    ReadIndentedText(built, outline);
    tree.AppendItemsFrom(built);
    std::vector<TTreeListTextNode*> selected;
    TTreeListTextNode* focused = nullptr;
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        std::string name(item->GetText(TreeListColumnName));
        if (!name.empty() && name.front() == '>') {
            name.erase(0, 1);
            focused = item;
        }
        if (!name.empty() && name.back() == '*') {
            name.pop_back();
            selected.push_back(item);
        }
        item->SetText(TreeListColumnName, name);
    }
    tree.ClearSelection();
    if (focused)
        focused->SetFocused();
    for (TTreeListTextNode* item : selected)
        item->SetSelected(true);
}
