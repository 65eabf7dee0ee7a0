// Filter Tree on the benchmark tree, typed into the box above the tree of
// the window: for each keystroke, the time until the filtered tree is shown
// and the longest the window does not answer meanwhile, against a plain scan
// of all names for the same text in the same run; then Esc, which brings the
// whole tree back. BENCH_FILE names a file to load instead of building the
// benchmark tree.
#include "app/search/treefiltersearch.h"
#include "app/view/treelistlayout.h"
#include "app/view/treelistview.h"
#include "app/widgets/imagelists.h"
#include "app/window/mainwindow.h"
#include "app/window/treefilter.h"
#include "bench/benchtree.h"
#include "document/treelist.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

using TClock = std::chrono::steady_clock;

namespace {

double Ms(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

// The floor: every name read in document order and searched for `text` as typed.
double ScanNames(const TTreeList& tree, const std::string& text)
{
    const auto start = TClock::now();
    long count = 0;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const std::string_view name = item->GetText(TreeListColumnName);
        if (memmem(name.data(), name.size(), text.data(), text.size()))
            ++count;
    }
    volatile long sink = count;
    (void)sink;
    return Ms(TClock::now() - start);
}

struct TKey {
    double shown = 0;  // ms from the keystroke to the filtered tree painted
    double stall = 0;  // the longest the window did not answer
};

// Runs the window until the scan has ended and the tree is painted, from `start`.
TKey Settle(TTreeFilter& filter, TTreeListView& view, TClock::time_point start)
{
    TKey result;
    result.stall = Ms(TClock::now() - start);  // the key itself runs the first slice
    while (filter.Search().Running()) {
        const auto before = TClock::now();
        QApplication::processEvents();
        result.stall = std::max(result.stall, Ms(TClock::now() - before));
    }
    const auto before = TClock::now();
    view.viewport()->repaint();
    result.stall = std::max(result.stall, Ms(TClock::now() - before));
    result.shown = Ms(TClock::now() - start);
    return result;
}

TKey Type(TTreeFilter& filter, TTreeListView& view, int key)
{
    const auto start = TClock::now();
    QTest::keyClick(filter.FilterText(), key);
    return Settle(filter, view, start);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    InitResources();
    TfrmTreeViewEditorMain window;
    window.show();
    TTreeList& tree = window.TreeList();
    LoadOrBuildBenchTree(tree);
    tree.TopItem(0)->SetFocused();
    QApplication::processEvents();
    TTreeFilter& filter = window.TreeFilter();
    TTreeListView& view = *window.TreeListView();
    filter.actViewFilterTreeExecute();

    std::printf("bench_filter: %d top-level items, Filter Tree typed key by key\n", tree.TopItemCount());
    std::printf("%-12s %9s %9s %9s %9s %9s %9s\n", "text", "rows", "shown ms", "stall ms", "floor ms", "shown x",
                "stall x");
    bool ok = true;
    // Every name, then rarer and rarer; about half the names; then a number
    // that matches few and one that matches none.
    for (const char* text : {"item 77777", "1", "5 ", "xyz"}) {
        filter.FilterText()->clear();
        QApplication::processEvents();
        std::string typed;
        for (const char* p = text; *p; ++p) {
            typed += *p;
            TKey best{1e30, 1e30};
            for (int round = 0; round < 3; ++round) {
                filter.FilterText()->setText(QString::fromStdString(typed.substr(0, typed.size() - 1)));
                filter.Search().Finish();
                QApplication::processEvents();
                const TKey key = Type(filter, view, *p);
                best.shown = std::min(best.shown, key.shown);
                best.stall = std::min(best.stall, key.stall);
            }
            std::string lower = typed;
            std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) { return c == 'i' ? 'I' : c; });
            double floor = 1e30;
            for (int round = 0; round < 3; ++round)
                floor = std::min(floor, ScanNames(tree, lower));
            const bool met = best.shown <= 200 && best.stall <= 50;
            ok = ok && met;
            std::printf("%-12s %9d %9.1f %9.1f %9.1f %8.2fx %8.2fx %s\n", ("\"" + typed + "\"").c_str(),
                        view.Layout().RowCount(), best.shown, best.stall, floor, best.shown / floor,
                        best.stall / floor, met ? "ok" : "MISSED");
        }
    }
    // Esc over the largest filter: every name shown, the whole tree back.
    filter.FilterText()->setText(QStringLiteral("item"));
    filter.Search().Finish();
    QApplication::processEvents();
    const auto start = TClock::now();
    QTest::keyClick(filter.FilterText(), Qt::Key_Escape);
    const TKey back = Settle(filter, view, start);
    const bool met = back.stall <= 50;
    ok = ok && met;
    std::printf("%-12s %9d %9.1f %9.1f %29s\n", "Esc", view.Layout().RowCount(), back.shown, back.stall,
                met ? "ok" : "MISSED");
    window.close();
    return ok ? 0 : 1;
}
