#include "tests/apptestkit.h"

#include "app/droptarget/dropfiletarget.h"
#include "app/view/treelistmodel.h"
#include "app/window/filedropimport.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProgressDialog>
#include <QTimer>
#include <QUrl>

namespace {

constexpr Qt::DropActions All = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;

// One line per item in document order: depth dots, name, icon, then the
// description with "|" for each CR LF.
QStringList Dump(const TTreeList& tree)
{
    QStringList lines;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item)) {
        const std::string line = std::string(static_cast<size_t>(item->Level()), '.') +
                                 std::string(item->GetText(TreeListColumnName)) + " #" +
                                 std::to_string(item->ImageIndex()) + " " + std::string(item->GetText(TreeListColumnDesc));
        lines << QString::fromStdString(line).replace(QStringLiteral("\r\n"), QStringLiteral("|"));
    }
    return lines;
}

}  // namespace

class FileDropTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
    }

    TTreeList& Tree() { return m_window->TreeList(); }
    QWidget* TreeViewport() { return m_window->TreeListView()->viewport(); }
    QWidget* MemoViewport() { return m_window->Memo1()->viewport(); }

    // Drags `data` onto `widget` as the platform delivers it and waits until
    // the drop's work is done: the effect the source was told.
    Qt::DropAction Drop(QWidget* widget, const QMimeData& data, Qt::KeyboardModifiers keys = {},
                        QPoint at = QPoint(20, 20), Qt::DropActions offered = All)
    {
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(widget, &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(widget, &move);
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, keys);
        QApplication::sendEvent(widget, &drop);
        for (int i = 0; i < 100 && m_window->FileDropImport().Busy(); ++i)
            QApplication::processEvents();
        EXPECT_FALSE(m_window->FileDropImport().Busy());
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
    Qt::DropAction DropFiles(QWidget* widget, const QStringList& names, Qt::KeyboardModifiers keys = {})
    {
        QList<QUrl> urls;
        for (const QString& name : names)
            urls << QUrl::fromLocalFile(Path(name));
        QMimeData data;
        data.setUrls(urls);
        return Drop(widget, data, keys);
    }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
};

// How files become items (order, line breaks, names, folders) is the
// importer's; here the window's part: icon, focus, pane, modified flag.
TEST_F(FileDropTest, FilesBecomeLastTopLevelItemsInDropOrder)
{
    WriteBytes(Path("first.txt"), "one");
    WriteBytes(Path("b.txt"), "b");
    WriteBytes(Path("a.txt"), "a");
    m_window->IconComboBox()->setEditText(QStringLiteral("7"));

    // Into the empty tree the first item takes the focus, and the pane shows it.
    EXPECT_EQ(DropFiles(TreeViewport(), {QStringLiteral("first.txt")}), Qt::CopyAction);
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("one\n"));
    EXPECT_EQ(m_window->StatusPanelText(1), QStringLiteral("Modified"));
    Tree().TopItem(0)->AddChild()->SetText(TreeListColumnName, "child");
    Tree().TopItem(0)->SetExpanded(true);

    // Later drops go behind the last top-level item; the focus stays.
    EXPECT_EQ(DropFiles(TreeViewport(), {QStringLiteral("b.txt"), QStringLiteral("a.txt")}, Qt::ShiftModifier),
              Qt::MoveAction);
    EXPECT_EQ(Dump(Tree()), (QStringList{"first.txt #7 one|", ".child #0 ", "b.txt #7 b|", "a.txt #7 a|"}));
    EXPECT_EQ(Tree().FocusedItem(), Tree().TopItem(0));
    EXPECT_TRUE(m_prompter->errors.isEmpty());

    m_prompter->answers = {QMessageBox::No};
    m_window->close();
    EXPECT_EQ(m_window->DropFileOnTreeList().Target(), nullptr);
    EXPECT_EQ(m_window->DropFileOnMemo().Target(), nullptr);
}

TEST_F(FileDropTest, FailuresAreReportedInOneBox)
{
    WriteBytes(Path("a.txt"), "a");
    WriteBytes(Path("c.txt"), "c");
    // A bad icon text is reported before anything is read.
    m_window->IconComboBox()->setEditText(QStringLiteral("7x"));
    DropFiles(TreeViewport(), {QStringLiteral("a.txt")});
    EXPECT_EQ(Tree().TopItemCount(), 0);
    EXPECT_FALSE(m_window->Session().Modified());
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("'7x' is not a valid integer value.")});

    // Unreadable files get no item and one box after the rest is imported;
    // a name that is not UTF-8 shows as the editor shows such names.
    m_prompter->errors.clear();
    m_window->IconComboBox()->setEditText(QStringLiteral("0"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Path("missing.txt")), QUrl::fromLocalFile(Path("a.txt")),
                  QUrl::fromEncoded(QUrl::fromLocalFile(m_dir.path()).toEncoded() + "/%E4.txt"),
                  QUrl::fromLocalFile(Path("c.txt"))});
    Drop(TreeViewport(), data);
    EXPECT_EQ(Dump(Tree()), (QStringList{"a.txt #0 a|", "c.txt #0 c|"}));
    EXPECT_TRUE(m_window->Session().Modified());
    EXPECT_EQ(m_prompter->errors,
              QStringList{QStringLiteral("Cannot open file %1: No such file or directory\n"
                                         "Cannot open file %2: No such file or directory.")
                              .arg(Path("missing.txt"), Path(QString::fromLatin1("\xE4.txt")))});
}

TEST_F(FileDropTest, AFolderComesInWholeInTheFileManagersOrder)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("notes/sub")));
    WriteBytes(Path("notes/note 10.txt"), "ten");
    WriteBytes(Path("notes/note 9.txt"), "nine");
    WriteBytes(Path("notes/sub/x.txt"), "x");
    m_window->IconComboBox()->setEditText(QStringLiteral("2"));

    DropFiles(TreeViewport(), {QStringLiteral("notes")});
    Tree().ExpandAll();
    EXPECT_EQ(Dump(Tree()), (QStringList{"notes #2 ", ".sub #2 ", "..x.txt #2 x|", ".note 9.txt #2 nine|",
                                         ".note 10.txt #2 ten|"}));
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

TEST_F(FileDropTest, CancelKeepsTheItemsFinishedSoFar)
{
    QStringList names;
    for (int i = 0; i < 50; ++i) {
        names << QStringLiteral("%1.txt").arg(i);
        WriteBytes(Path(names.back()), "text");
    }
    m_window->FileDropImport().ProgressDelayMs = 0;
    // Presses Cancel as soon as the progress dialog shows.
    QTimer canceller;
    QObject::connect(&canceller, &QTimer::timeout, [&] {
        if (auto* progress = m_window->findChild<QProgressDialog*>(); progress && progress->isVisible())
            progress->cancel();
    });
    canceller.start(0);
    DropFiles(TreeViewport(), names);
    canceller.stop();

    const int imported = Tree().TopItemCount();
    EXPECT_GT(imported, 0);
    EXPECT_LT(imported, 50);
    for (int i = 0; i < imported; ++i)
        EXPECT_EQ(Tree().TopItem(i)->GetText(TreeListColumnDesc), "text\r\n");
    EXPECT_TRUE(m_window->Session().Modified());
    EXPECT_EQ(m_window->findChild<QProgressDialog*>(), nullptr);
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

TEST_F(FileDropTest, OnTheEditorOnlyTheFirstFileCountsAndTextDragsAreRefused)
{
    WriteBytes(Path("first.txt"), std::string("new\nline\0rest", 13));
    WriteBytes(Path("second.txt"), "second");
    WriteBytes(Path("item.txt"), "old");
    // No item yet: nothing to load into, and the source is told so.
    EXPECT_EQ(DropFiles(MemoViewport(), {QStringLiteral("first.txt")}), Qt::IgnoreAction);
    DropFiles(TreeViewport(), {QStringLiteral("item.txt")});
    m_prompter->files = {Path("notes.trd")};
    Run(*m_window, TActionId::actFileSave);  // so what the drop changes shows

    QMimeData text;
    text.setText(QStringLiteral("dragged"));
    EXPECT_EQ(Drop(MemoViewport(), text), Qt::IgnoreAction);
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("old\n"));

    // Switching word wrap keeps the editor taking drops.
    Run(*m_window, TActionId::actViewWordWrap);
    EXPECT_EQ(DropFiles(MemoViewport(), {QStringLiteral("first.txt"), QStringLiteral("second.txt")}),
              Qt::CopyAction);
    EXPECT_EQ(Tree().TopItem(0)->GetText(TreeListColumnDesc), "new\r\nline");
    EXPECT_EQ(m_window->Memo1()->toPlainText(), QStringLiteral("new\nline"));
    EXPECT_EQ(m_window->StatusPanelText(1), QStringLiteral("Modified"));
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

TEST_F(FileDropTest, TheTreesOwnItemDragsStillMoveItems)
{
    WriteBytes(Path("a.txt"), "a");
    WriteBytes(Path("b.txt"), "b");
    DropFiles(TreeViewport(), {QStringLiteral("a.txt"), QStringLiteral("b.txt")});
    // A drag sent by hand has no source; the tree takes it as its own here.
    m_window->TreeListView()->SetDragSources({nullptr});
    Tree().TopItem(1)->SetSelected(true);
    QMimeData items;
    items.setData(QString::fromLatin1(TTreeListModel::ItemsMimeType), "1");
    TTreeListView& view = *m_window->TreeListView();
    QPoint onA = view.visualRect(view.Model()->IndexOf(Tree().TopItem(0))).center();
    while (onA.x() > 0 && view.HitTest(onA.x(), onA.y()) != iaLabel)
        onA.rx()--;
    EXPECT_EQ(Drop(TreeViewport(), items, {}, onA, Qt::MoveAction), Qt::MoveAction);
    EXPECT_EQ(Dump(Tree()), (QStringList{"a.txt #0 a|", ".b.txt #0 b|"}));
}
