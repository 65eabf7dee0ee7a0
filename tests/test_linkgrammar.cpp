#include "document/linkgrammar.h"
#include "document/linksto.h"
#include "document/parallelwalk.h"
#include "document/textcodec.h"
#include "document/treelist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

// Each case marks the expected links under the line: "a" for an address,
// "i" for an item link, anything else for no link.
struct TLinkCase {
    const char16_t* line;
    const char16_t* marks;
};

std::vector<TLinkSpan> SpansOf(std::u16string_view marks)
{
    std::vector<TLinkSpan> spans;
    for (size_t i = 0; i < marks.size(); ++i) {
        if (marks[i] != u'a' && marks[i] != u'i')
            continue;
        const TLinkKind kind = marks[i] == u'a' ? TLinkKind::Address : TLinkKind::Item;
        if (i > 0 && marks[i - 1] == marks[i] && !spans.empty() && spans.back().start + spans.back().length == i)
            ++spans.back().length;
        else
            spans.push_back({i, 1, kind});
    }
    return spans;
}

std::string Narrow(std::u16string_view text)
{
    return EncodeText(std::u16string(text), TTextEncoding::Utf8);
}

}  // namespace

TEST(LinkGrammar, FindsTheSpansAsWritten)
{
    const TLinkCase cases[] = {
        // Addresses, taken as written up to white space.
        {u"see http://example.com/a?b=1#c now", u"    aaaaaaaaaaaaaaaaaaaaaaaaaa    "},
        {u"HTTPS://Example.com", u"aaaaaaaaaaaaaaaaaaa"},
        {u"ftp://h/f mailto:me@x.org file:///tmp/a", u"aaaaaaaaa aaaaaaaaaaaaaaa aaaaaaaaaaaaa"},
        {u"end http://x.org/a.", u"    aaaaaaaaaaaaaa "},
        {u"http://x.org/?!;:,.", u"aaaaaaaaaaaaa      "},
        // Brackets and quotes close it unless opened inside it.
        {u"(http://x.org/a)", u" aaaaaaaaaaaaaa "},
        {u"(http://w.org/T_(d))", u" aaaaaaaaaaaaaaaaaa "},
        {u"[http://x.org/]", u" aaaaaaaaaaaaa "},
        {u"\"http://x.org\"", u" aaaaaaaaaaaa "},
        {u"'http://x.org/it's'", u" aaaaaaaaaaaaaaa   "},
        {u"<http://x.org>", u" aaaaaaaaaaaa "},
        {u"http://x.org/\u00e9\u00a0b", u"aaaaaaaaaaaaaa  "},
        // Not addresses.
        {u"xhttp://x.org http:// mailto: file:", u"                                   "},
        // Item links.
        {u"[[Name]] and [[Top/Middle/Name]]", u"iiiiiiii     iiiiiiiiiiiiiiiiiii"},
        {u"[[a\\/b]]", u"iiiiiiii"},
        {u"[[[x]]]", u" iiiii "},
        {u"[[a [[b]]", u"    iiiii"},
        {u"[[http://x.org]] http://y.org/[[z]]", u"iiiiiiiiiiiiiiii aaaaaaaaaaaaaaaaaa"},
        // Shell tests, spaces inside the brackets, line breaks and empty links are none.
        {u"[[ -f x ]] [[a ]] [[ a]] [[]] [[a\nb]]", u"                                     "},
    };
    for (const auto& [line, marks] : cases) {
        const std::u16string_view text(line);
        ASSERT_EQ(text.size(), std::u16string_view(marks).size()) << Narrow(text);
        EXPECT_EQ(FindLinks(text), SpansOf(marks)) << Narrow(text);
        // The ASCII markers let the bytes give the same spans where they
        // are one byte a character.
        if (Narrow(text).size() == text.size()) {
            EXPECT_EQ(FindLinks(std::string_view(Narrow(text))), SpansOf(marks)) << Narrow(text);
        }
    }
}

TEST(LinkGrammar, PathsEscapeTheSlash)
{
    EXPECT_EQ(ItemLinkPath(u"[[Top/a\\/b/c\\d]]"), (std::vector<std::u16string>{u"Top", u"a/b", u"c\\d"}));
    EXPECT_EQ(ItemLinkText({u"Top", u"a/b"}), u"[[Top/a\\/b]]");
}

TEST(LinkGrammar, ResolvesAndWritesTheShortestLink)
{
    // A            first "A" in tree order
    //   B
    //     C
    // D
    //   A
    //     C        reached only by its path
    //   a/b
    // \u00e9        stored as Windows-1252
    TTreeList tree;
    auto named = [](TTreeListTextNode* item, std::string_view name) {
        item->SetText(TreeListColumnName, name);
        return item;
    };
    TTreeListTextNode* a = named(tree.AddItem(), "A");
    TTreeListTextNode* b = named(a->AddChild(), "B");
    TTreeListTextNode* c1 = named(b->AddChild(), "C");
    TTreeListTextNode* d = named(tree.AddItem(), "D");
    TTreeListTextNode* a2 = named(d->AddChild(), "A");
    TTreeListTextNode* c2 = named(a2->AddChild(), "C");
    TTreeListTextNode* slash = named(d->AddChild(), "a/b");
    TTreeListTextNode* ansi = named(tree.AddItem(), "\xe9");

    const std::pair<const char16_t*, TTreeListTextNode*> links[] = {
        {u"[[A]]", a}, {u"[[C]]", c1}, {u"[[D/A/C]]", c2}, {u"[[A/B/C]]", c1}, {u"[[A/C]]", nullptr},
        {u"[[B]]", b}, {u"[[D/a\\/b]]", slash}, {u"[[a\\/b]]", slash}, {u"[[a/b]]", nullptr},
        {u"[[\u00e9]]", ansi}, {u"[[D//A]]", nullptr}, {u"[[a]]", nullptr}};
    for (const auto& [link, item] : links)
        EXPECT_EQ(ResolveItemLink(tree, ItemLinkPath(link)), item) << Narrow(link);

    const std::pair<TTreeListTextNode*, const char16_t*> shortest[] = {
        {a, u"[[A]]"}, {c1, u"[[C]]"}, {a2, u"[[D/A]]"}, {c2, u"[[D/A/C]]"}, {slash, u"[[a\\/b]]"},
        {ansi, u"[[\u00e9]]"}};
    for (const auto& [item, link] : shortest) {
        EXPECT_EQ(ShortestItemLink(tree, item), link) << Narrow(link);
        EXPECT_EQ(ResolveItemLink(tree, ItemLinkPath(ShortestItemLink(tree, item))), item) << Narrow(link);
    }
}

// A tree of 70,000 items with few names and many links, walked by the
// cores in stretches: the stretches cover it once, in order, and the links
// and names found are the ones one walk from the top finds.
TEST(LinkGrammar, TheWalkInStretchesFindsWhatOneWalkFinds)
{
    TTreeList tree;
    std::mt19937 random(7);
    std::vector<TTreeListTextNode*> items;
    auto name = [&random] { return "n" + std::to_string(random() % 400); };
    for (int top = 0; top < 7; ++top)
        items.push_back(tree.AddItem());
    for (size_t i = 0; items.size() < 70000; ++i)
        for (int k = 0; k < 3; ++k)
            items.push_back(items[i]->AddChild());
    for (TTreeListTextNode* item : items) {
        item->SetText(TreeListColumnName, name());
        if (random() % 8 == 0)
            item->SetText(TreeListColumnDesc, "x [[" + name() + "]] [[n1/" + name() + "]]\r\n[[" + name() + "]]");
    }

    std::vector<TTreeListTextNode*> walked;
    const std::vector<TTreeListTextNode*> starts = DocumentStretches(tree);
    EXPECT_GT(starts.size(), 32u);
    for (size_t i = 0; i < starts.size(); ++i)
        for (TTreeListTextNode* at = starts[i]; at && (i + 1 == starts.size() || at != starts[i + 1]);
             at = tree.NextInDocument(at))
            walked.push_back(at);
    std::vector<TTreeListTextNode*> order;
    for (TTreeListTextNode* at = tree.TopItem(0); at; at = tree.NextInDocument(at))
        order.push_back(at);
    EXPECT_EQ(walked, order);

    auto summary = [](const std::vector<TLinksInDescription>& found) {
        std::vector<std::pair<const TTreeListTextNode*, size_t>> links;
        for (const TLinksInDescription& d : found)
            for (const TLinkSpan& span : d.links)
                links.emplace_back(d.holder, span.start);
        return links;
    };
    for (size_t i = 0; i < items.size(); i += 4999) {
        const TTreeListTextNode* target = items[i];
        TLinksToScan one(tree, target);
        one.Scan();
        EXPECT_EQ(summary(FindLinksTo(tree, target)), summary(one.TakeFound())) << i;
        // A rename's walk also tells whether an item before the target has the new name.
        const std::string_view newName = items[i + 1]->GetText(TreeListColumnName);
        bool earlier = false;
        FindLinksTo(tree, target, DecodeText(newName).text, earlier);
        const auto at = std::find(order.begin(), order.end(), target);
        EXPECT_EQ(earlier, std::any_of(order.begin(), at, [newName](const TTreeListTextNode* item) {
                      return item->GetText(TreeListColumnName) == newName;
                  })) << i;
        const std::string_view bytes = target->GetText(TreeListColumnName);
        const TTreeListTextNode* first = *std::find_if(order.begin(), order.end(), [bytes](const TTreeListTextNode* at) {
            return at->GetText(TreeListColumnName) == bytes;
        });
        EXPECT_EQ(ResolveItemLink(tree, {DecodeText(bytes).text}), first) << i;
    }
    // Two items of a name far past the first ones, found by the cores.
    order.back()->SetText(TreeListColumnName, "late");
    order[68000]->SetText(TreeListColumnName, "late");
    EXPECT_EQ(ResolveItemLink(tree, {u"late"}), order[68000]);
    EXPECT_EQ(ResolveItemLink(tree, {u"none"}), nullptr);
}
