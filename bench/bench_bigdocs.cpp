// Where the window could freeze on big documents, each against a floor
// taken in the same run: the first show with the 1,111,110-item benchmark
// file on the command line, Export as Text of that tree (expanding all
// included) against trdtool's export of the same file, what the expanded
// tree keeps in memory, delete (as the Delete command: the items kept for
// Undo), move and insert of a 111,111-item subtree in
// the expanded tree, focus changes, delete and move there with a screen reader
// listening, and a 20 MB description with its spelling checked: focusing it,
// the longest event-loop stall while typing and pausing in it, scrolling a
// page, and leaving it; the longest stall of a Save of the tree written in
// the background, against the same save written before the command returns;
// and the editor's whole process after it opened the benchmark file named on
// its command line.
// BENCH_FILE names a file to measure instead of the benchmark tree.
// An optional argument names the trdtool to measure against (default: the
// one built with this benchmark); BIGDOCS_EDITOR names another editor to
// measure.
#include "app/spelling/spellchecker.h"
#include "app/view/itemtext.h"
#include "app/view/treelistaccessible.h"
#include "app/view/treelistmodel.h"
#include "app/view/treelistview.h"
#include "app/widgets/imagelists.h"
#include "app/window/descriptionspelling.h"
#include "app/window/commandtable.h"
#include "app/window/documentsession.h"
#include "app/window/itemcommands.h"
#include "app/window/mainwindow.h"
#include "app/window/subtreefocus.h"
#include "bench/benchprompter.h"
#include "bench/benchtree.h"
#include "document/undosteps.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProcessEnvironment>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>

namespace fs = std::filesystem;
using TClock = std::chrono::steady_clock;

namespace {

double Ms(TClock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double TimeMs(const std::function<void()>& action)
{
    const auto start = TClock::now();
    action();
    return Ms(TClock::now() - start);
}

// Runs the event loop until nothing is left to do, painting included.
void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The first paint that reaches a widget of `window`, timed from `start`.
class TFirstPaint : public QObject {
public:
    TFirstPaint(QWidget& window, TClock::time_point start) : m_window(window), m_start(start)
    {
        qApp->installEventFilter(this);
    }
    ~TFirstPaint() override { qApp->removeEventFilter(this); }
    double Ms() const { return m_ms; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (m_ms < 0 && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &m_window)
            m_ms = ::Ms(TClock::now() - m_start);
        return false;
    }

private:
    QWidget& m_window;
    TClock::time_point m_start;
    double m_ms = -1;
};

// The longest lateness of a timer that wants to tick every millisecond.
class TStallProbe {
public:
    TStallProbe()
    {
        m_timer.setInterval(1);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const auto now = TClock::now();
            m_longest = std::max(m_longest, ::Ms(now - m_last));
            m_last = now;
        });
    }
    void Start()
    {
        m_longest = 0;
        m_last = TClock::now();
        m_timer.start();
    }
    double Stop()
    {
        m_timer.stop();
        return m_longest;
    }

private:
    QTimer m_timer;
    TClock::time_point m_last;
    double m_longest = 0;
};

void RunEventsFor(int ms)
{
    const auto end = TClock::now() + std::chrono::milliseconds(ms);
    while (TClock::now() < end)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

// Bursts of typing with pauses long enough for anything that waits for the
// typist to stop.
void TypeAndPause(QWidget* editor)
{
    for (int burst = 0; burst < 3; ++burst) {
        for (int key = 0; key < 8; ++key) {
            QTest::keyClick(editor, static_cast<char>('a' + key));
            RunEventsFor(60);
        }
        RunEventsFor(900);
    }
}
constexpr int TypedPerRun = 24;

void Row(const char* what, double ms, double floorMs, const char* floorWhat, const char* target)
{
    std::printf("%-40s %9.1f ms %9.1f ms %7.2fx  %-28s %s\n", what, ms, floorMs, floorMs > 0 ? ms / floorMs : 0.0,
                floorWhat, target);
}

bool InView(TTreeListView& view, TTreeListTextNode* item)
{
    const QRect rect = view.visualRect(view.Model()->IndexOf(item));
    return rect.isValid() && view.viewport()->rect().intersects(rect);
}

// What a screen reader's bridge asks of every announcement.
class TReader : public TTreeListAccessible::TAnnouncer {
public:
    void Announce(QAccessibleEvent& event) override
    {
        ++m_heard;
        Read(event.accessibleInterface());
    }
    void Read(QAccessibleInterface* iface)
    {
        if (iface)
            m_chars += iface->text(QAccessible::Name).size() + (iface->state().focused ? 1 : 0);
    }
    int Heard() const { return m_heard; }

private:
    int m_heard = 0;
    qsizetype m_chars = 0;
};

TTreeListTextNode* NthInDocument(TTreeList& tree, long n)
{
    TTreeListTextNode* item = tree.TopItem(0);
    for (long i = 0; i < n && item; ++i)
        item = tree.NextInDocument(item);
    return item;
}

// The best of `runs` runs of trdtool with `arguments`, in ms.
double ToolMs(const std::string& trdtool, const QStringList& arguments, int runs = 3)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        QProcess process;
        const auto start = TClock::now();
        process.start(QString::fromStdString(trdtool), arguments);
        process.waitForFinished(-1);
        best = std::min(best, Ms(TClock::now() - start));
        if (process.exitCode() != 0)
            std::printf("error: trdtool %s failed\n", qPrintable(arguments.value(0)));
    }
    return best;
}

void FirstShow(const std::string& file, const std::string& empty, const std::string& trdtool)
{
    std::printf("\n%-40s %12s %12s %8s  %-28s %s\n", "first show", "measured", "floor", "ratio", "floor is", "target");
    double emptyShow = 0;
    {
        const auto start = TClock::now();
        TfrmTreeViewEditorMain window({QString::fromStdString(empty)});
        TFirstPaint paint(window, start);
        window.show();
        while (paint.Ms() < 0)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        emptyShow = paint.Ms();
        Settle();
    }
    // trdtool once before the editor, in the memory the editor meets, and
    // at its best after it; the editor's load is the best of as many runs,
    // each a new window, and its first run is set against trdtool's first.
    const double checkFirst = ToolMs(trdtool, {QStringLiteral("check"), QString::fromStdString(file)}, 1);
    constexpr int Runs = 3;
    double shown = 0, loaded = 1e30, firstLoaded = 0, stall = 0;
    for (int run = 0; run < Runs; ++run) {
        const auto start = TClock::now();
        TfrmTreeViewEditorMain window({QString::fromStdString(file)});
        TFirstPaint paint(window, start);
        TStallProbe probe;
        window.show();
        while (paint.Ms() < 0)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (run == 0)
            shown = paint.Ms();
        probe.Start();
        while (window.TreeList().TopItemCount() < 10)
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const double ms = Ms(TClock::now() - start);
        if (run == 0)
            firstLoaded = ms;
        loaded = std::min(loaded, ms);
        Settle();
        stall = std::max(stall, probe.Stop());
    }
    const double loadFloor = TimeMs([&] {
        TTreeList tree;
        LoadItems(tree, file);
    });
    const double check = ToolMs(trdtool, {QStringLiteral("check"), QString::fromStdString(file)});
    Row("window painted, benchmark file", shown, emptyShow, "window with a 1-item file", "100 ms");
    Row("  document in", loaded, loadFloor, "LoadItems alone", "");
    Row("  document in, against trdtool", loaded, check, "trdtool check", "1.5x");
    Row("  first load, trdtool's first run", firstLoaded, checkFirst, "trdtool check before it", "1.5x");
    Row("  longest stall until it is in", stall, 0, "", "");
}

// The resident memory of process `pid` in bytes (`field` VmHWM: its peak);
// 0 once it is gone.
long ResidentBytesOf(qint64 pid, const QByteArray& field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').value(0).toLong() * 1024;
    return 0;
}

// The editor started with the file on its command line, as a user starts it,
// measured once its memory has stayed level for two seconds: the load has
// ended and the window has painted.
void EditorMemory(const std::string& file, const fs::path& folder)
{
    const QByteArray other = qgetenv("BIGDOCS_EDITOR");
    QProcess editor;
    // Settings and recovery copies of its own, in the benchmark's folder.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), QString::fromStdString((folder / "config").string()));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), QString::fromStdString((folder / "data").string()));
    editor.setProcessEnvironment(environment);
    editor.start(other.isEmpty() ? QStringLiteral(EDITOR_PATH) : QString::fromLocal8Bit(other),
                 {QString::fromStdString(file)});
    if (!editor.waitForStarted(-1)) {
        std::printf("error: the editor did not start\n");
        return;
    }
    constexpr long Level = 1 << 20;
    long resident = 0;
    long peak = 0;
    for (int steady = 0; steady < 20;) {
        QThread::msleep(100);
        const long now = ResidentBytesOf(editor.processId());
        steady = now > 0 && std::labs(now - resident) < Level ? steady + 1 : 0;
        resident = now;
        if (now == 0)
            break;
        peak = ResidentBytesOf(editor.processId(), "VmHWM:");
    }
    editor.kill();
    editor.waitForFinished(-1);
    const long fileSize = static_cast<long>(fs::file_size(file));
    std::printf("\n%-40s %9.1f MB %9.1f MB %7.3fx  %-28s %s\n", "editor's memory after opening", resident / 1e6,
                fileSize / 1e6, static_cast<double>(resident) / fileSize, "file size", "1.5x");
    std::printf("%-40s %9.1f MB %9.1f MB %7.3fx  %-28s %s\n", "editor's peak memory while opening", peak / 1e6,
                fileSize / 1e6, static_cast<double>(peak) / fileSize, "file size", "1.6x");
}

// Deletes the item as the user does: selected, with Delete, confirmed; the
// focus stays where it was until the command moves it. The items are kept
// for Undo.
void DeleteItem(TItemCommands& commands, TTreeListTextNode* item)
{
    item->Owner().ClearSelection();
    item->SetSelected(true);
    commands.actEditItemDeleteExecute();
}

// The same on a tree without a view or commands: the items taken out and
// kept as Delete's undo step keeps them.
void DeleteBare(TTreeList& tree, TTreeListTextNode* item)
{
    TRemoveStep step("Delete");
    step.Remove(tree, item);
}

// Focus change, delete and move of a top item's subtree with every item
// collapsed, against the same on a tree without a view (`bare`, the same
// items), which loses the same items.
void CollapsedTree(TItemCommands& commands, TTreeList& tree, TTreeList& bare)
{
    const auto focusChanges = [](TTreeList& t) {
        double best = 1e30;
        for (int i = 0; i < 3; ++i)
            for (int top : {1, t.TopItemCount() - 2})
                best = std::min(best, TimeMs([&] {
                                    t.TopItem(top)->SetFocused();
                                    Settle();
                                }));
        return best;
    };
    const double focus = focusChanges(tree);
    const double focusFloor = focusChanges(bare);
    const double deleted = TimeMs([&] {
        DeleteItem(commands, tree.TopItem(2));
        Settle();
    });
    const double deleteFloor = TimeMs([&] { DeleteBare(bare, bare.TopItem(2)); });
    const double moved = TimeMs([&] {
        tree.TopItem(0)->MoveTo(tree.TopItem(tree.TopItemCount() - 1), amAdd);
        Settle();
    });
    const double moveFloor = TimeMs([&] { bare.TopItem(0)->MoveTo(bare.TopItem(bare.TopItemCount() - 1), amAdd); });
    Row("collapsed: focus change", focus, focusFloor, "same on a tree without view", "100 ms");
    Row("collapsed: delete a top item's subtree", deleted, deleteFloor, "same on a tree without view", "100 ms");
    Row("collapsed: move a top item's subtree", moved, moveFloor, "same on a tree without view", "100 ms");
}

void ExpandedTree(const std::string& file, const std::string& trdtool, const fs::path& folder)
{
    std::printf("\n%-40s %12s %12s %8s  %-28s %s\n", "expanded tree", "measured", "floor", "ratio", "floor is",
                "target");
    TfrmTreeViewEditorMain window;
    window.resize(900, 700);
    window.show();
    Settle();
    LoadItems(window.TreeList(), file);
    window.TreeList().TopItem(0)->SetFocused();
    Settle();
    const long fileSize = static_cast<long>(fs::file_size(file));

    // trdtool's export of the same file.
    const std::string toolOut = (folder / "tool.txt").string();
    const double tool = ToolMs(trdtool, {QStringLiteral("export"), QStringLiteral("txt"),
                                         QString::fromStdString(file), QString::fromStdString(toolOut)});
    fs::remove(toolOut);
    TTreeList& tree = window.TreeList();
    TTreeList bare;
    LoadItems(bare, file);
    TItemCommands& commands = window.ItemCommands();
    CollapsedTree(commands, tree, bare);

    // Expand All and Collapse All against one walk of every item.
    const double walk = TimeMs([&] {
        long count = 0;
        for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
            count += item->Count();
        if (count < 0)
            std::printf("error\n");
    });
    const double expanded = TimeMs([&] {
        commands.actEditItemExpandAllExecute();
        Settle();
    });
    const double collapsed = TimeMs([&] {
        commands.actEditItemCollapseAllExecute();
        Settle();
    });
    Row("Expand All", expanded, walk, "walk in document order", "1 s");
    Row("Collapse All", collapsed, walk, "walk in document order", "1 s");

    malloc_trim(0);
    const long before = ResidentBytes();
    const std::string out = (folder / "editor.txt").string();
    const double exported = TimeMs([&] {
        tree.ExpandAll();
        ExportTxt(tree, out);
        Settle();
    });
    malloc_trim(0);
    const long after = ResidentBytes();
    fs::remove(out);
    Row("Export as Text, expanding included", exported, tool, "trdtool export txt", "2x");
    std::printf("%-40s %9.1f MB %9.1f MB %7.3fx  %-28s %s\n", "memory the expanded tree keeps",
                (after - before) / 1e6, fileSize / 1e6, static_cast<double>(after - before) / fileSize,
                "file size", "0.25x");

    // Subtree operations with the focus deep in the expanded tree, each
    // against the same operation on a tree without a view. The focused item
    // (a moved item takes the focus) must stay on screen.
    TTreeListView& view = *window.TreeListView();
    TTreeListTextNode* focused = NthInDocument(tree, 600000);
    focused->SetFocused();
    Settle();
    bool kept = InView(view, focused);
    const double deleted = TimeMs([&] {
        DeleteItem(commands, tree.TopItem(2));
        Settle();
    });
    kept = kept && InView(view, tree.FocusedItem());
    const double deleteFloor = TimeMs([&] { DeleteBare(bare, bare.TopItem(2)); });
    const double moved = TimeMs([&] {
        tree.TopItem(0)->MoveTo(tree.TopItem(tree.TopItemCount() - 1), amAdd);
        Settle();
    });
    kept = kept && InView(view, tree.FocusedItem());
    const double moveFloor = TimeMs([&] { bare.TopItem(0)->MoveTo(bare.TopItem(bare.TopItemCount() - 1), amAdd); });
    TTreeList part;
    TTreeList barePart;
    for (TTreeList* t : {&part, &barePart}) {
        BuildBenchTree(*t);
        while (t->TopItemCount() > 1)
            t->Delete(t->TopItem(1));
        t->TopItem(0)->SetExpanded(true);
    }
    const double inserted = TimeMs([&] {
        tree.AppendItemsFrom(part);
        Settle();
    });
    kept = kept && InView(view, tree.FocusedItem());
    const double insertFloor = TimeMs([&] { bare.AppendItemsFrom(barePart); });
    Row("delete a top item's subtree", deleted, deleteFloor, "same on a tree without view", "100 ms");
    Row("move a top item's subtree", moved, moveFloor, "same on a tree without view", "100 ms");
    Row("insert a 111,111-item subtree", inserted, insertFloor, "same on a tree without view", "100 ms");
    std::printf("%-40s %s\n", "focused item kept in view", kept ? "yes" : "NO");

    // The same with a screen reader listening, each against the same
    // operation without one: every announcement is read as the bridge to
    // the reader reads it.
    window.activateWindow();
    view.setFocus();
    Settle();
    TTreeListTextNode* near = NthInDocument(tree, 300000);
    TTreeListTextNode* far = NthInDocument(tree, 900000);
    const auto focusChanges = [&] {
        double best = 1e30;
        for (int i = 0; i < 3; ++i)
            for (TTreeListTextNode* item : {near, far})
                best = std::min(best, TimeMs([&] {
                                    item->SetFocused();
                                    Settle();
                                }));
        return best;
    };
    const double focusFloor = focusChanges();
    TReader reader;
    TTreeListAccessible::SetAnnouncer(&reader);
    QAccessibleInterface* tree11y = QAccessible::queryAccessibleInterface(&view);
    for (int i = 0; i < tree11y->childCount() && i < 40; ++i)
        reader.Read(tree11y->child(view.verticalScrollBar()->value() + i));
    const double focusRead = focusChanges();
    const double deletedRead = TimeMs([&] {
        DeleteItem(commands, tree.TopItem(2));
        Settle();
    });
    const double movedRead = TimeMs([&] {
        tree.TopItem(0)->MoveTo(tree.TopItem(tree.TopItemCount() - 1), amAdd);
        Settle();
    });
    TTreeListAccessible::SetAnnouncer(nullptr);
    Row("focus change, reader listening", focusRead, focusFloor, "same without reader", "100 ms");
    Row("delete a subtree, reader listening", deletedRead, deleted, "same without reader", "100 ms");
    Row("move a subtree, reader listening", movedRead, moved, "same without reader", "100 ms");
    std::printf("%-40s %d announcements, %d rows held\n", "reader heard", reader.Heard(),
                static_cast<TTreeListAccessible*>(tree11y)->CachedRows());

    // Inside a focused subtree of 111,111 items, against the same on another
    // top-level item of the whole tree: rows that start at an item cost no
    // more than rows that start at the top.
    const auto subtreeWork = [&](TTreeListTextNode* top) {
        TTreeListTextNode* a = top->Child(1);
        TTreeListTextNode* b = top->Child(8)->Child(8)->Child(8);
        double focus = 1e30;
        for (int i = 0; i < 3; ++i)
            for (TTreeListTextNode* item : {a, b})
                focus = std::min(focus, TimeMs([&] {
                                     item->SetFocused();
                                     Settle();
                                 }));
        const double del = TimeMs([&] {
            DeleteItem(commands, top->Child(2));
            Settle();
        });
        const double move = TimeMs([&] {
            top->Child(0)->MoveTo(top->Child(top->Count() - 1), amAdd);
            Settle();
        });
        return std::array<double, 3>{focus, del, move};
    };
    const std::array<double, 3> whole = subtreeWork(tree.TopItem(2));
    window.SubtreeFocus().FocusOn(tree.TopItem(1));
    Settle();
    const std::array<double, 3> focusedOn = subtreeWork(tree.TopItem(1));
    const bool stillFocused = window.SubtreeFocus().Root() == tree.TopItem(1) && InView(view, tree.FocusedItem());
    window.SubtreeFocus().FocusOn(nullptr);
    Row("subtree shown: focus change", focusedOn[0], whole[0], "same in whole tree", "100 ms");
    Row("subtree shown: delete 11,111", focusedOn[1], whole[1], "same in whole tree", "100 ms");
    Row("subtree shown: move 11,111", focusedOn[2], whole[2], "same in whole tree", "100 ms");
    std::printf("%-40s %s\n", "subtree kept, focused item in view", stillFocused ? "yes" : "NO");
}

void BigDescription()
{
    std::printf("\n%-40s %12s %12s %8s  %-28s %s\n", "20 MB description", "measured", "floor", "ratio", "floor is",
                "target");
    const size_t size = size_t(20) << 20;
    // A misspelled word in every line, so the spelling check underlines as
    // much as a careless text would.
    std::string bytes = BenchDescription(size);
    for (size_t at = bytes.find("jumps"); at != std::string::npos; at = bytes.find("jumps", at + 5))
        bytes.replace(at, 5, "jmups");
    TfrmTreeViewEditorMain window;
    window.resize(900, 700);
    window.show();
    Settle();
    // Whatever the settings say, the figures are taken with the check on.
    window.DescriptionSpelling().SetChecking(true);
    TSpellChecker& checker = window.SpellChecker();
    checker.Load();
    while (!checker.Ready() && checker.HasDictionary())
        RunEventsFor(10);
    std::printf("%-40s %s\n", "spelling checked", checker.Ready() ? qPrintable(checker.Language()) : "NO");
    TTreeList& tree = window.TreeList();
    TTreeListTextNode* small = tree.AddItem();
    small->SetText(TreeListColumnDesc, "short");
    TTreeListTextNode* big = tree.AddItem();
    big->SetText(TreeListColumnDesc, bytes);
    small->SetFocused();
    Settle();
    QPlainTextEdit* memo = window.Memo1();

    // The floor: a bare editor of the same size shown beside it.
    QPlainTextEdit bare;
    bare.resize(memo->size());
    bare.show();
    Settle();
    const QString text = ItemBytesToEditorText(bytes).text;

    double focus = 1e30;
    double focusFloor = 1e30;
    double leaveClean = 1e30;
    for (int i = 0; i < 3; ++i) {
        focus = std::min(focus, TimeMs([&] {
                             big->SetFocused();
                             Settle();
                         }));
        leaveClean = std::min(leaveClean, TimeMs([&] {
                                  small->SetFocused();
                                  Settle();
                              }));
        bare.clear();
        Settle();
        focusFloor = std::min(focusFloor, TimeMs([&] {
                                  bare.setPlainText(text);
                                  Settle();
                              }));
    }
    Row("focus the item", focus, focusFloor, "bare setPlainText", "1.2x");
    big->SetFocused();
    Settle();
    const size_t underlined = window.DescriptionSpelling().Underlined().size();
    if (checker.Ready() && underlined == 0)
        std::printf("error: no misspelled word is underlined\n");

    // The longest page of twenty paged down, each drawn.
    auto scroll = [](QPlainTextEdit& editor) {
        editor.verticalScrollBar()->setValue(editor.verticalScrollBar()->maximum() / 2);
        Settle();
        double longest = 0;
        for (int page = 0; page < 20; ++page)
            longest = std::max(longest, TimeMs([&editor] {
                                   editor.verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
                                   Settle();
                               }));
        return longest;
    };
    const double scrolled = scroll(*memo);
    const double scrollFloor = scroll(bare);
    Row("scroll a page", scrolled, scrollFloor, "same in a bare editor", "50 ms");
    // The check's own share of those: the words of a page never shown
    // before, and of the line a key was typed into.
    TDescriptionSpelling& spelling = window.DescriptionSpelling();
    double checkPage = 0;
    double checkKey = 0;
    double keyFloor = 0;
    for (int page = 0; page < 20; ++page) {
        memo->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepAdd);
        // The page laid out first, as its paint would.
        memo->cursorForPosition(QPoint(memo->viewport()->width(), memo->viewport()->height()));
        checkPage = std::max(checkPage, TimeMs([&spelling] { spelling.RefreshSpelling(); }));
        Settle();
    }
    // Where the typing below goes, so the edited stretch stays the same.
    memo->moveCursor(QTextCursor::End);
    bare.moveCursor(QTextCursor::End);
    Settle();
    for (int key = 0; key < 20; ++key) {
        QTest::keyClick(memo, Qt::Key_X);
        checkKey = std::max(checkKey, TimeMs([&spelling] { spelling.RefreshSpelling(); }));
        QTest::keyClick(memo, Qt::Key_Backspace);
        Settle();
        keyFloor = std::max(keyFloor, TimeMs([&bare] {
                                QTest::keyClick(&bare, Qt::Key_X);
                                Settle();
                            }));
        QTest::keyClick(&bare, Qt::Key_Backspace);
    }
    Row("spelling: check a new page", checkPage, scrollFloor, "scroll a page, bare editor", "");
    Row("spelling: check after a key", checkKey, keyFloor, "a key in a bare editor", "");
    memo->verticalScrollBar()->setValue(0);
    Settle();

    TStallProbe probe;
    bare.moveCursor(QTextCursor::End);
    probe.Start();
    TypeAndPause(&bare);
    const double stallFloor = probe.Stop();

    big->SetFocused();
    Settle();
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    probe.Start();
    TypeAndPause(memo);
    const double stall = probe.Stop();
    Row("longest stall typing and pausing", stall, stallFloor, "same in a bare editor", "50 ms");

    // Straight after a keystroke, before anything waiting for a pause has run.
    QTest::keyClick(memo, Qt::Key_Z);
    const double leave = TimeMs([&] {
        small->SetFocused();
        Settle();
    });
    Row("leave the item after typing", leave, leaveClean, "leaving it unedited", "100 ms");
    if (big->GetText(TreeListColumnDesc).size() != size + TypedPerRun + 1)
        std::printf("error: the item does not hold the typed text\n");
}

// Save of the benchmark tree in the window: the longest the window's
// thread goes without an event, written in the background against the
// same save written before the command returns.
void SaveStall(const std::string& file, const fs::path& folder)
{
    std::printf("\n%-40s %12s %12s %8s  %-28s %s\n", "save", "measured", "floor", "ratio", "floor is", "target");
    const std::string copy = (folder / "save.trd").string();
    fs::copy_file(file, copy, fs::copy_options::overwrite_existing);
    TfrmTreeViewEditorMain window({QString::fromStdString(copy)});
    window.show();
    while (window.Session().Loading() || window.TreeList().TopItemCount() == 0)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    Settle();
    TStallProbe probe;
    // The stall, and the time until the file is written.
    auto save = [&](bool background) {
        window.Session().SetBackgroundSaveFrom(background ? 0 : SIZE_MAX);
        window.Session().MarkModified();
        window.Commands().UpdateActions();
        probe.Start();
        const auto start = TClock::now();
        window.Commands().Action(TActionId::actFileSave)->trigger();
        while (window.Session().Saving())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        const double written = Ms(TClock::now() - start);
        RunEventsFor(20);
        if (window.Session().Modified())
            std::printf("error: the save did not end clean\n");
        return std::array<double, 2>{probe.Stop(), written};
    };
    std::array<double, 2> now{1e30, 1e30}, background{1e30, 1e30}, worstNow{0, 0}, worstBackground{0, 0};
    for (int run = 0; run < 3; ++run) {
        for (const bool inBackground : {false, true}) {
            const std::array<double, 2> r = save(inBackground);
            std::array<double, 2>& best = inBackground ? background : now;
            std::array<double, 2>& worst = inBackground ? worstBackground : worstNow;
            for (size_t i = 0; i < 2; ++i) {
                best[i] = std::min(best[i], r[i]);
                worst[i] = std::max(worst[i], r[i]);
            }
        }
    }
    Row("longest stall, background save (best)", background[0], now[0], "synchronous save (best)", "100 ms");
    Row("longest stall, background save (worst)", worstBackground[0], worstNow[0], "synchronous save (worst)",
        "100 ms");
    Row("  until written, background (best)", background[1], now[1], "synchronous save (best)", "");
    // An edit 20 ms after Save, while the bytes are being taken: a rename,
    // and an item added.
    for (const bool structural : {false, true}) {
        window.Session().SetBackgroundSaveFrom(0);
        window.Session().MarkModified();
        window.Commands().UpdateActions();
        window.Commands().Action(TActionId::actFileSave)->trigger();
        RunEventsFor(20);
        TTreeListTextNode* item = window.TreeList().TopItem(0);
        const std::string name(item->GetText(TreeListColumnName));
        const double edit = TimeMs([&] {
            if (structural)
                window.TreeList().AddItem();
            else
                item->SetText(TreeListColumnName, name + "x");
        });
        while (window.Session().Saving())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 1);
        if (structural)
            window.TreeList().Delete(window.TreeList().TopItem(window.TreeList().TopItemCount() - 1));
        else
            item->SetText(TreeListColumnName, name);
        Row(structural ? "  an item added 20 ms after Save" : "  a rename 20 ms after Save", edit, background[0],
            "longest stall, background", "100 ms");
    }
    fs::remove(copy);
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    InitResources();
    SetPrompter(std::make_unique<TYesPrompter>());
    const std::string trdtool = argc > 1 ? argv[1] : TRDTOOL_PATH;
    const fs::path folder = fs::temp_directory_path() / ("vek-bench-bigdocs-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string given = BenchFile();
    const std::string file = given.empty() ? (folder / "bench.trd").string() : given;
    const std::string empty = (folder / "small.trd").string();
    {
        TTreeList tree;
        if (given.empty()) {
            BuildBenchTree(tree);
            SaveItems(tree, file);
            tree.ClearItems();
        }
        tree.AddItem()->SetText(TreeListColumnName, "one");
        SaveItems(tree, empty);
    }
    std::printf("bench_bigdocs: benchmark file %.1f MB\n", fs::file_size(file) / 1e6);
    // BIGDOCS_PART=description, show, memory, tree or save runs that part alone;
    // several, separated by commas, run those.
    const QList<QByteArray> parts = qgetenv("BIGDOCS_PART").split(',');
    const auto runs = [&parts](const char* part) { return parts == QList<QByteArray>{""} || parts.contains(part); };
    if (runs("description"))
        BigDescription();
    if (runs("show"))
        FirstShow(file, empty, trdtool);
    if (runs("memory"))
        EditorMemory(file, folder);
    if (runs("tree"))
        ExpandedTree(file, trdtool, folder);
    if (runs("save"))
        SaveStall(file, folder);
    fs::remove_all(folder);
    return 0;
}
