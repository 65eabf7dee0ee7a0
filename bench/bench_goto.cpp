// Go to Item on the benchmark tree, typed into the popup of the window: for
// each keystroke, the time until the list is first updated, until it is
// complete, and the longest the window does not answer, against a plain
// scan of all names for the same word in the same run. BENCH_FILE names a
// file to load instead of building the benchmark tree.
#include "app/search/gotosearch.h"
#include "app/widgets/imagelists.h"
#include "app/window/gotoitempopup.h"
#include "app/window/mainwindow.h"
#include "app/window/navigator.h"
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

// The floor: every name read in document order and searched for `word`.
double ScanNames(const TTreeList& tree, const std::string& word, long& count)
{
    const auto start = TClock::now();
    count = 0;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const std::string_view name = item->GetText(TreeListColumnName);
        if (memmem(name.data(), name.size(), word.data(), word.size()))
            ++count;
    }
    return Ms(TClock::now() - start);
}

struct TKey {
    double updated = 0;   // ms from the keystroke to the first new list
    double complete = 0;  // to the end of the scan
    double stall = 0;     // the longest the window did not answer
};

// One keystroke into the popup's text box, then the window runs until the
// scan has ended.
TKey Type(TGoToItemPopup& popup, char key)
{
    TKey result;
    const auto start = TClock::now();
    QTest::keyClick(popup.Text(), key);
    result.updated = Ms(TClock::now() - start);  // the first slice runs in the keystroke
    result.stall = result.updated;
    while (popup.Search().Running()) {
        const auto before = TClock::now();
        QApplication::processEvents();
        result.stall = std::max(result.stall, Ms(TClock::now() - before));
    }
    result.complete = Ms(TClock::now() - start);
    return result;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    InitResources();
    TfrmTreeViewEditorMain window;
    window.show();
    LoadOrBuildBenchTree(window.TreeList());
    window.TreeList().TopItem(0)->SetFocused();
    QApplication::processEvents();
    window.Navigator().actGoToItemExecute();
    TGoToItemPopup& popup = *window.Navigator().GoToItemPopup();

    std::printf("bench_goto: %d top-level items, Go to Item typed key by key\n", window.TreeList().TopItemCount());
    std::printf("%-12s %9s %10s %11s %9s %9s %9s %9s %11s\n", "text", "matches", "update ms", "complete ms",
                "stall ms", "floor ms", "update x", "stall x", "complete x");
    bool ok = true;
    // A word of every name, then a rare number: a million matches ranked,
    // then a handful; each keystroke starts the scan anew.
    for (const char* text : {"item 77777", "9 item"}) {
        popup.Text()->clear();
        QApplication::processEvents();
        std::string typed;
        for (const char* p = text; *p; ++p) {
            typed += *p;
            TKey best{1e30, 1e30, 1e30};
            for (int round = 0; round < 3; ++round) {
                popup.Text()->setText(QString::fromStdString(typed.substr(0, typed.size() - 1)));
                popup.Search().Finish();
                const TKey key = Type(popup, *p);
                best.updated = std::min(best.updated, key.updated);
                best.complete = std::min(best.complete, key.complete);
                best.stall = std::min(best.stall, key.stall);
            }
            // The floor looks for the longest word typed, as the ranking does first.
            std::string word;
            for (const std::string& w : GoToWords(typed))
                if (w.size() > word.size())
                    word = w;
            long count = 0;
            double floor = 1e30;
            for (int round = 0; round < 3; ++round)
                floor = std::min(floor, ScanNames(window.TreeList(), word, count));
            const bool met = best.updated <= 50 && best.stall <= 50;
            ok = ok && met;
            std::printf("%-12s %9zu %10.1f %11.1f %9.1f %9.1f %8.2fx %8.2fx %10.2fx %s\n",
                        ("\"" + typed + "\"").c_str(), popup.Search().MatchCount(), best.updated, best.complete,
                        best.stall, floor, best.updated / floor, best.stall / floor, best.complete / floor,
                        met ? "ok" : "MISSED");
        }
    }
    popup.hide();
    window.close();
    return ok ? 0 : 1;
}
