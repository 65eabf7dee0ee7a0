// Time of one keystroke in the description editor, including storing the
// text into the focused item, for descriptions of growing size.
#include "app/widgets/imagelists.h"
#include "app/window/mainwindow.h"
#include "bench/benchtree.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <string>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    InitResources();
    TfrmTreeViewEditorMain window;
    window.show();
    QApplication::processEvents();

    window.TreeList().AddItem();  // so that each measured item gets the focus through SetFocused
    std::printf("%-12s %12s %14s %8s\n", "description", "keystrokes", "ms/keystroke", "target");
    for (size_t size : {size_t(10) * 1024, size_t(1024) * 1024, size_t(5) * 1024 * 1024}) {
        TTreeListTextNode* item = window.TreeList().AddItem();
        item->SetText(1, BenchDescription(size));
        item->SetFocused();
        QPlainTextEdit* memo = window.Memo1();
        memo->moveCursor(QTextCursor::End);
        const int keystrokes = 20;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < keystrokes; ++i)
            QTest::keyClick(memo, Qt::Key_A);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / keystrokes;
        window.TreeList().CommitEdits();
        if (item->GetText(1).size() != size + keystrokes)
            std::printf("error: the item is not in step with the editor\n");
        std::printf("%-12s %12d %14.2f %8s\n",
                    (size < 1024 * 1024 ? std::to_string(size / 1024) + " KB" : std::to_string(size >> 20) + " MB").c_str(),
                    keystrokes, ms, ms < 16.0 ? "ok" : "SLOW");
    }
    return 0;
}
