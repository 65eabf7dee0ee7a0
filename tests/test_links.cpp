#include "tests/apptestkit.h"
#include "tests/urlcatcher.h"

#include "app/search/linkshere.h"
#include "app/view/itemtext.h"
#include "app/window/copylinktask.h"
#include "app/window/itemcommands.h"
#include "app/window/descriptionlinks.h"
#include "app/window/linksherecontroller.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <QTextCursor>
#include <map>
#include <memory>

namespace {

using Id = TActionId;

// A
//   B
//     C
// D
//   C
// A's description links to both C, a missing item and a web address.
const char* const Description = "see [[C]], [[D/C]] or [[Nope]] at http://example.com/x_(y). [[A/B]]";

class LinksTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
        TTreeList& tree = m_window->TreeList();
        m_a = Named(tree.AddItem(), "A");
        m_b = Named(m_a->AddChild(), "B");
        m_c = Named(m_b->AddChild(), "C");
        m_d = Named(tree.AddItem(), "D");
        m_dc = Named(m_d->AddChild(), "C");
        m_a->SetText(TreeListColumnDesc, Description);
        m_a->SetFocused();
        m_window->DescriptionPane().TreeListChangeNode(m_a, m_a);
        Links().RefreshLinks();
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }
    static TTreeListTextNode* Named(TTreeListTextNode* item, const char* name)
    {
        item->SetText(TreeListColumnName, name);
        return item;
    }
    TDescriptionLinks& Links() { return m_window->DescriptionLinks(); }
    QPlainTextEdit* Memo() { return m_window->Memo1(); }
    // The editor position inside the first `text` of the description.
    int PositionOf(const char* text) { return static_cast<int>(Memo()->toPlainText().indexOf(QLatin1String(text))) + 2; }
    QPoint PointOf(const char* text)
    {
        QTextCursor cursor(Memo()->document());
        cursor.setPosition(PositionOf(text));
        return Memo()->cursorRect(cursor).center();
    }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
    TTreeListTextNode* m_a = nullptr;
    TTreeListTextNode* m_b = nullptr;
    TTreeListTextNode* m_c = nullptr;
    TTreeListTextNode* m_d = nullptr;
    TTreeListTextNode* m_dc = nullptr;
};

enum class TGesture { CtrlClick, CtrlEnter, OpenLinkEntry };

struct TFollowCase {
    const char* link;
    TGesture gesture;
    const char* focusedAfter;  // by its path; empty: the focus stays on A
    const char* opened;        // the address the desktop got, if any
};

class FollowLink : public LinksTest, public ::testing::WithParamInterface<TFollowCase> {};

TEST_P(FollowLink, FocusesTheItemOrOpensTheAddress)
{
    const TFollowCase& c = GetParam();
    TUrlCatcher catcher;
    m_b->SetExpanded(false);
    m_a->SetExpanded(false);
    switch (c.gesture) {
    case TGesture::CtrlClick:
        QTest::mouseClick(Memo()->viewport(), Qt::LeftButton, Qt::ControlModifier, PointOf(c.link));
        break;
    case TGesture::CtrlEnter: {
        QTextCursor cursor = Memo()->textCursor();
        cursor.setPosition(PositionOf(c.link));
        Memo()->setTextCursor(cursor);
        QTest::keyClick(Memo(), Qt::Key_Return, Qt::ControlModifier);
        break;
    }
    case TGesture::OpenLinkEntry: {
        std::unique_ptr<QMenu> menu(Links().CreateLinkMenu(PointOf(c.link)));
        ASSERT_NE(menu, nullptr);
        menu->findChild<QAction*>(QStringLiteral("pmiMemoOpenLink"))->trigger();
        break;
    }
    }
    const std::map<std::string, TTreeListTextNode*> items = {
        {"", m_a}, {"A/B", m_b}, {"A/B/C", m_c}, {"D/C", m_dc}};
    TTreeListTextNode* expected = items.at(c.focusedAfter);
    EXPECT_EQ(m_window->TreeList().FocusedItem(), expected);
    EXPECT_TRUE(expected->Selected() || expected == m_a);
    for (TTreeListTextNode* p = expected->Parent(); p; p = p->Parent())
        EXPECT_TRUE(p->Expanded());
    EXPECT_EQ(catcher.urls, c.opened ? QStringList{QString::fromLatin1(c.opened)} : QStringList{});
    // Nothing was typed: the Ctrl+Enter and the click were the link's.
    EXPECT_FALSE(m_window->Session().Modified());
    EXPECT_TRUE(m_prompter->questions.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Links, FollowLink,
    ::testing::Values(TFollowCase{"[[C]]", TGesture::CtrlClick, "A/B/C", nullptr},
                      TFollowCase{"[[D/C]]", TGesture::CtrlEnter, "D/C", nullptr},
                      TFollowCase{"[[A/B]]", TGesture::OpenLinkEntry, "A/B", nullptr},
                      TFollowCase{"http://", TGesture::CtrlClick, "", "http://example.com/x_(y)"},
                      TFollowCase{"http://", TGesture::CtrlEnter, "", "http://example.com/x_(y)"}));

struct TRenameCase {
    const char* item;  // by its path
    const char* name;  // the new name's bytes
    QMessageBox::StandardButton answer;
    const char* question;  // empty: none asked
    const char* descriptionA;  // after the rename; empty: as it was
    const char* descriptionD;
};

class RenameLinks : public LinksTest, public ::testing::WithParamInterface<TRenameCase> {};

// D's description is Windows-1252 and links to A/B/C by name and by path.
TEST_P(RenameLinks, RewritesTheLinksThatFoundTheItemAsOneStep)
{
    const TRenameCase& c = GetParam();
    const std::string descriptionD = "\xE9 [[A/B/C]] and [[C]]";
    m_d->SetText(TreeListColumnDesc, descriptionD);
    const std::map<std::string, TTreeListTextNode*> items = {{"A/B/C", m_c}, {"D/C", m_dc}, {"D", m_d}};
    TTreeListTextNode* item = items.at(c.item);
    const std::string oldName(item->GetText(TreeListColumnName));
    if (*c.question)
        m_prompter->answers = {c.answer};
    m_window->TreeList().EndRename(item, c.name, true);

    QStringList asked;
    if (*c.question)
        asked << QStringLiteral("VekTreeViewEditor|") + QString::fromUtf8(c.question);
    EXPECT_EQ(m_prompter->questions, asked);
    const std::string afterA = *c.descriptionA ? c.descriptionA : Description;
    const std::string afterD = *c.descriptionD ? c.descriptionD : descriptionD;
    auto expect = [&](const std::string& name, const std::string& a, const std::string& d) {
        EXPECT_EQ(item->GetText(TreeListColumnName), name);
        EXPECT_EQ(m_a->GetText(TreeListColumnDesc), a);
        EXPECT_EQ(m_d->GetText(TreeListColumnDesc), d);
    };
    expect(c.name, afterA, afterD);
    m_a->SetFocused();
    EXPECT_EQ(Memo()->toPlainText(), QString::fromUtf8(afterA.c_str()));

    EXPECT_EQ(m_window->Session().History().UndoName(), "Rename");
    Run(*m_window, Id::actEditItemUndo);
    expect(oldName, Description, descriptionD);
    EXPECT_FALSE(m_window->Session().History().CanUndo());
    Run(*m_window, Id::actEditItemRedo);
    expect(c.name, afterA, afterD);
}

INSTANTIATE_TEST_SUITE_P(
    Links, RenameLinks,
    ::testing::Values(
        // The new name stays in the description's own encoding.
        TRenameCase{"A/B/C", "\xC3\x89", QMessageBox::Yes, "Update 3 links to \xC3\x89?",
                    "see [[\xC3\x89]], [[D/C]] or [[Nope]] at http://example.com/x_(y). [[A/B]]",
                    "\xE9 [[\xC9]] and [[\xC9]]"},
        TRenameCase{"A/B/C", "E", QMessageBox::No, "Update 3 links to E?", "", ""},
        // "[[B]]" would find A/B: the shortest link is the path.
        TRenameCase{"D/C", "B", QMessageBox::Yes, "Update 1 links to B?",
                    "see [[C]], [[D/B]] or [[Nope]] at http://example.com/x_(y). [[A/B]]", ""},
        TRenameCase{"D", "Z", QMessageBox::Yes, "", "", ""}));

TEST_F(LinksTest, ABrokenLinkOffersToCreateTheItemAsOneStep)
{
    const QString question = QStringLiteral("VekTreeViewEditor|No item is named \"Nope\". Create it under \"A\"?");
    m_prompter->answers = {QMessageBox::No};
    QTest::mouseClick(Memo()->viewport(), Qt::LeftButton, Qt::ControlModifier, PointOf("[[Nope]]"));
    EXPECT_EQ(m_prompter->questions, QStringList{question});
    EXPECT_EQ(m_a->Count(), 1);
    EXPECT_EQ(m_window->TreeList().FocusedItem(), m_a);

    m_prompter->answers = {QMessageBox::Yes};
    QTest::mouseClick(Memo()->viewport(), Qt::LeftButton, Qt::ControlModifier, PointOf("[[Nope]]"));
    ASSERT_EQ(m_a->Count(), 2);
    TTreeListTextNode* created = m_a->Child(1);
    EXPECT_EQ(created->GetText(TreeListColumnName), "Nope");
    EXPECT_EQ(m_window->TreeList().FocusedItem(), created);
    EXPECT_TRUE(m_window->Session().Modified());

    // Back in A the link finds the new item; one undo takes it away.
    m_a->SetFocused();
    Links().RefreshLinks();
    EXPECT_FALSE(Links().IsBroken(*Links().LinkAtPosition(PositionOf("[[Nope]]"))));
    Run(*m_window, Id::actEditItemUndo);
    EXPECT_EQ(m_a->Count(), 1);
    Links().RefreshLinks();
    EXPECT_TRUE(Links().IsBroken(*Links().LinkAtPosition(PositionOf("[[Nope]]"))));
}

TEST_F(LinksTest, LinksOnScreenAreDrawnAndBrokenOnesDotted)
{
    QStringList drawn;
    for (const QTextEdit::ExtraSelection& s : Memo()->extraSelections())
        drawn << s.cursor.selectedText() + (s.format.underlineStyle() == QTextCharFormat::DotLine ? " dotted" : "");
    EXPECT_EQ(drawn, (QStringList{"[[C]]", "[[D/C]]", "[[Nope]] dotted", "http://example.com/x_(y)", "[[A/B]]"}));
    const QPalette palette = Memo()->palette();
    const QList<QTextEdit::ExtraSelection> selections = Memo()->extraSelections();
    EXPECT_EQ(selections[0].format.foreground().color(), palette.color(QPalette::Link));
    EXPECT_EQ(selections[2].format.foreground().color(), palette.color(QPalette::Disabled, QPalette::Text));
}

TEST_F(LinksTest, CtrlOverALinkShowsTheHandAndTheAddress)
{
    QMouseEvent move(QEvent::MouseMove, PointOf("http://"), Memo()->viewport()->mapToGlobal(PointOf("http://")),
                     Qt::NoButton, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(Memo()->viewport(), &move);
    EXPECT_EQ(Memo()->viewport()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(m_window->StatusPanelText(0), QStringLiteral("http://example.com/x_(y)"));

    QMouseEvent plain(QEvent::MouseMove, PointOf("http://"), Memo()->viewport()->mapToGlobal(PointOf("http://")),
                      Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Memo()->viewport(), &plain);
    EXPECT_EQ(Memo()->viewport()->cursor().shape(), Qt::IBeamCursor);
    EXPECT_EQ(m_window->StatusPanelText(0), QString());
}

TEST_F(LinksTest, TheEditorsMenuOffersTheLinkOnlyOnALink)
{
    std::unique_ptr<QMenu> menu(Links().CreateLinkMenu(PointOf("[[D/C]]")));
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> actions = menu->actions();
    ASSERT_GE(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("Open Link"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("Copy Link Address"));
    EXPECT_TRUE(actions[2]->isSeparator());
    actions[1]->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("[[D/C]]"));

    EXPECT_EQ(std::unique_ptr<QMenu>(Links().CreateLinkMenu(PointOf("see"))), nullptr);
}

TEST_F(LinksTest, CopyLinkToItemPutsTheShortestLinkThatFindsIt)
{
    const std::pair<TTreeListTextNode*, const char*> cases[] = {
        {m_a, "[[A]]"}, {m_c, "[[C]]"}, {m_dc, "[[D/C]]"}, {m_d, "[[D]]"}};
    for (const auto& [item, link] : cases) {
        item->SetFocused();
        Run(*m_window, Id::actEditItemCopyLink);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromLatin1(link));
    }
    Run(*m_window, Id::actFileClose);
    EXPECT_FALSE(Action(*m_window, Id::actEditItemCopyLink)->isEnabled());
}

// D's description links back, on its second line: A by name, C by path.
class LinksHereTest : public LinksTest {
protected:
    void SetUp() override
    {
        LinksTest::SetUp();
        m_d->SetText(TreeListColumnDesc, "first\r\nback to [[A]] and [[A/B/C]], [[A/B/C]]");
        m_window->LinksHere().actViewLinksHereExecute();
    }
    TLinksHere& Here() { return m_window->LinksHere().Links(); }
    // "holder:line:link" for each row, the link read at the row's place in
    // the holder's editor text.
    QStringList Rows()
    {
        Here().Finish();
        QStringList rows;
        for (const TLinkHereResult& r : Here().Results())
            rows << QStringLiteral("%1:%2:%3")
                        .arg(QString::fromUtf8(r.item->GetText(TreeListColumnName)))
                        .arg(r.line)
                        .arg(ItemBytesToEditorText(r.item->GetText(TreeListColumnDesc)).text.mid(r.offset, r.length));
        return rows;
    }
};

TEST_F(LinksHereTest, ListsTheLinksThatFindTheFocusedItem)
{
    const std::pair<TTreeListTextNode*, QStringList> cases[] = {
        {m_c, {"A:1:[[C]]", "D:2:[[A/B/C]]", "D:2:[[A/B/C]]"}},
        {m_dc, {"A:1:[[D/C]]"}},
        {m_a, {"D:2:[[A]]"}},
        {m_b, {"A:1:[[A/B]]"}},
        {m_d, {}},
    };
    for (const auto& [item, rows] : cases) {
        item->SetFocused();
        EXPECT_EQ(Rows(), rows) << item->GetText(TreeListColumnName);
    }
}

TEST_F(LinksHereTest, ADoubleClickGoesToTheLinkAndTheListStaysUntilTheFocusMoves)
{
    m_c->SetFocused();
    ASSERT_EQ(Rows().size(), 3);
    m_window->LinksHere().Activate(2);
    EXPECT_EQ(m_window->TreeList().FocusedItem(), m_d);
    EXPECT_TRUE(m_d->Selected());
    EXPECT_EQ(Memo()->textCursor().selectedText(), QStringLiteral("[[A/B/C]]"));
    EXPECT_EQ(Memo()->textCursor().selectionStart(), static_cast<int>(Memo()->toPlainText().lastIndexOf(u"[[A/B/C]]")));
    EXPECT_EQ(Rows().size(), 3);
    m_a->SetFocused();
    EXPECT_EQ(Rows(), QStringList{"D:2:[[A]]"});
    // The holder of the links goes; the list goes with it at once.
    m_window->TreeList().ClearSelection();
    m_d->SetSelected(true);
    m_prompter->answers = {QMessageBox::Ok};
    Run(*m_window, Id::actEditItemDelete);
    ASSERT_EQ(m_window->TreeList().TopItemCount(), 1);
    EXPECT_TRUE(Here().Results().empty());
    EXPECT_TRUE(Rows().isEmpty());
}

// A move keeps the links by name finding the item; a path that no longer
// leads to it is drawn broken, and Links Here no longer counts it.
TEST_F(LinksHereTest, AMoveKeepsNameLinksAndBreaksThePathsItChanges)
{
    m_window->TreeList().ClearSelection();
    m_c->SetSelected(true);
    m_c->SetFocused();
    Run(*m_window, Id::actEditItemOutdent);
    ASSERT_EQ(m_c->Parent(), m_a);
    EXPECT_EQ(Rows(), QStringList{"A:1:[[C]]"});
    m_d->SetFocused();
    m_window->DescriptionPane().TreeListChangeNode(m_d, m_d);
    Links().RefreshLinks();
    EXPECT_TRUE(Links().IsBroken(*Links().LinkAtPosition(PositionOf("[[A/B/C]]"))));
    EXPECT_FALSE(Links().IsBroken(*Links().LinkAtPosition(PositionOf("[[A]]"))));
    m_a->SetFocused();
    m_window->DescriptionPane().TreeListChangeNode(m_a, m_a);
    Links().RefreshLinks();
    EXPECT_FALSE(Links().IsBroken(*Links().LinkAtPosition(PositionOf("[[C]]"))));
    EXPECT_EQ(ResolveItemLink(m_window->TreeList(), {u"C"}), m_c);
}

// On a large tree the link is ready after a walk in slices under the wait
// cursor; a change of the tree starts it again, the item's removal ends it.
TEST_F(LinksTest, CopyLinkToItemOnALargeTreeWalksWithoutHoldingUpTheWindow)
{
    TCopyLinkTask& task = m_window->ItemCommands().CopyLinkTask();
    task.SetFirstSliceTime(std::chrono::milliseconds(0));
    for (int i = 0; i < 5000; ++i)
        Named(m_d->AddChild(), "many");
    TTreeListTextNode* last = Named(m_d->AddChild(), "last");
    for (const bool removeTarget : {false, true}) {
        QGuiApplication::clipboard()->clear();
        last->SetFocused();
        Run(*m_window, Id::actEditItemCopyLink);
        ASSERT_TRUE(task.Running());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        m_window->TreeList().ClearSelection();
        (removeTarget ? last : m_d->Child(0))->SetSelected(true);
        m_prompter->answers = {QMessageBox::Ok};
        Run(*m_window, Id::actEditItemDelete);
        EXPECT_EQ(task.Running(), !removeTarget);
        task.Finish();
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), removeTarget ? QString() : QStringLiteral("[[last]]"));
    }
}

}  // namespace
