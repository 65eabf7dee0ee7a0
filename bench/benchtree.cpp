#include "bench/benchtree.h"

#include "document/treelist.h"

#include <string>

namespace {

constexpr int FanOut = 10;
constexpr int Depth = 6;

std::string Description(long number)
{
    std::string text = "Notes for item " + std::to_string(number) + " of the benchmark tree.\r\n";
    text += "A second line with enough words to look like a short note, ";
    text += "numbered " + std::to_string(number * 7 % 1000) + ".\r\n";
    text += "Third line: \xE4\xF6\xFC and some more text to reach the usual size.";
    text.resize(200, '.');
    return text;
}

void Fill(TTreeListTextNode& item, long& counter)
{
    ++counter;
    item.SetText(TreeListColumnName, "Item " + std::to_string(counter));
    item.SetText(TreeListColumnDesc, Description(counter));
    item.SetImageIndex(static_cast<int32_t>(counter % 216));
}

void AddLevel(TTreeListTextNode& parent, int level, long& counter)
{
    if (level >= Depth)
        return;
    for (int i = 0; i < FanOut; ++i) {
        TTreeListTextNode* child = parent.AddChild();
        Fill(*child, counter);
        AddLevel(*child, level + 1, counter);
    }
}

}  // namespace

void BuildBenchTree(TTreeList& tree)
{
    tree.BeginUpdate();
    tree.ClearItems();
    long counter = 0;
    for (int i = 0; i < FanOut; ++i) {
        TTreeListTextNode* item = tree.AddItem();
        Fill(*item, counter);
        AddLevel(*item, 1, counter);
    }
    tree.EndUpdate();
}
