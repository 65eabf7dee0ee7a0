#include "tests/apptestkit.h"

#include "app/search/gotosearch.h"
#include "app/search/treesearch.h"
#include "app/window/findallcontroller.h"
#include "app/window/application.h"
#include "app/window/commandtable.h"
#include "app/window/gotoitempopup.h"
#include "app/window/navigationhistory.h"
#include "app/window/navigator.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QTest>
#include <map>
#include <sstream>

namespace {

using Id = TActionId;

// The history on a flat tree of items named A to H. A script is a list of
// steps: "A>C" a recorded move from A to C, "<D" Back with D focused (it
// answers the place gone to), ">" Forward, "-C" C leaves the tree, and
// "+C" it comes back as an undo brings it.
struct THistoryCase {
    const char* name;
    const char* script;
    const char* places;   // after the script, the current one in brackets
    const char* answers;  // what each Back and Forward answered, "." for none
};

class History : public ::testing::TestWithParam<THistoryCase> {};

TEST_P(History, KeepsThePlacesAUserExpects)
{
    const THistoryCase& c = GetParam();
    TTreeList tree;
    std::map<char, TTreeListTextNode*> items;
    for (char name = 'A'; name <= 'H'; ++name) {
        items[name] = tree.AddItem();
        items[name]->SetText(TreeListColumnName, std::string(1, name));
    }
    std::map<char, TTreeListPlace> gone;
    TNavigationHistory history;
    std::string answers;
    auto answer = [&answers](const TTreeListTextNode* item) {
        answers += item ? std::string(item->GetText(TreeListColumnName)) : ".";
    };
    std::istringstream steps(c.script);
    for (std::string step; steps >> step;) {
        if (step[0] == '<')
            answer(history.Back(items[step[1]]));
        else if (step[0] == '>')
            answer(history.Forward());
        else if (step[0] == '-') {
            history.Forget(items[step[1]]);
            gone[step[1]] = tree.DetachSubtree(items[step[1]]);
        } else if (step[0] == '+')
            tree.Reattach(items[step[1]], gone[step[1]]);
        else
            history.Visit(items[step[0]], items[step[2]]);
    }
    std::string places;
    for (size_t i = 0; i < history.Places().size(); ++i) {
        const std::string name(history.Places()[i]->GetText(TreeListColumnName));
        places += i == history.Current() ? "[" + name + "]" : name;
    }
    EXPECT_EQ(places, c.places);
    EXPECT_EQ(answers, c.answers);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, History, ::testing::Values(
    THistoryCase{"visitsChain",               "A>C C>F",                     "AC[F]",   ""},
    THistoryCase{"strayedFocusIsJoined",      "A>C E>G",                     "ACE[G]",  ""},
    THistoryCase{"backAndForward",            "A>C C>F <F <C > > >",         "AC[F]",   "CACF."},
    THistoryCase{"nothingBehindTheFirst",     "A>C <C <A",                   "[A]C",    "A."},
    THistoryCase{"visitDropsWhatWasAhead",    "A>C C>F <F C>H",              "AC[H]",   "C"},
    THistoryCase{"backFromAStrayKeepsIt",     "A>C <D >",                    "AC[D]",   "CD"},
    THistoryCase{"deletedPlacesDropOut",      "A>C C>E E>G -E",              "AC[G]",   ""},
    THistoryCase{"neighboursThatMeetMerge",   "A>C C>A -C",                  "[A]",     ""},
    THistoryCase{"currentDeletedStepsBack",   "A>C C>E <E -C >",             "A[E]",    "CE"},
    THistoryCase{"undoneDeleteStaysOut",      "A>C C>E -C +C <E <A",         "[A]E",    "A."},
    THistoryCase{"allGone",                   "A>C -A -C <B",                "",        "."}
));
// clang-format on

TEST(HistoryCapacity, KeepsTheLatestHundredPlaces)
{
    TTreeList tree;
    std::vector<TTreeListTextNode*> items;
    for (int i = 0; i < 150; ++i)
        items.push_back(tree.AddItem());
    TNavigationHistory history;
    for (int i = 1; i < 150; ++i)
        history.Visit(items[static_cast<size_t>(i - 1)], items[static_cast<size_t>(i)]);
    ASSERT_EQ(history.Places().size(), TNavigationHistory::Capacity);
    EXPECT_EQ(history.Places().front(), items[50]);
    // A Back from a stray place at the full mark keeps the place it goes to.
    EXPECT_EQ(history.Back(items[0]), items[149]);
    EXPECT_EQ(history.Places().size(), TNavigationHistory::Capacity);
    EXPECT_EQ(history.Forward(), items[0]);
}

struct TPathCase {
    QStringList names;
    int maxChars;
    QString expected;
};

class Path : public ::testing::TestWithParam<TPathCase> {};

TEST_P(Path, IsShortenedInTheMiddle)
{
    EXPECT_EQ(ShortenedPath(GetParam().names, GetParam().maxChars), GetParam().expected);
}

const QString Sep = QStringLiteral(" \u203A ");
const QString Gap = QStringLiteral("\u2026");

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Path, ::testing::Values(
    TPathCase{{}, 10, QString()},
    TPathCase{{"Work", "2026", "Budget"}, 100, "Work" + Sep + "2026" + Sep + "Budget"},
    TPathCase{{"Work", "2026", "Q3", "Budget"}, 22, "Work" + Sep + Gap + Sep + "Q3" + Sep + "Budget"},
    TPathCase{{"Work", "2026", "Q3", "Budget"}, 15, "Work" + Sep + Gap + Sep + "Budget"},
    TPathCase{{"Work", "2026", "Q3", "Budget"}, 3, "Work" + Sep + Gap + Sep + "Budget"},
    TPathCase{{"Work", "Budget"}, 3, "Work" + Sep + "Budget"}
));
// clang-format on

// Go to Item's ranking over a tree given as paths ("Work/2026/Budget"); the
// names are UTF-8 unless they say otherwise.
struct TRankCase {
    const char* name;
    std::vector<const char*> paths;
    const char* query;
    std::vector<const char*> expected;  // the listed paths, best first
};

class Ranking : public ::testing::TestWithParam<TRankCase> {};

TEST_P(Ranking, ListsTheBestMatchesFirst)
{
    const TRankCase& c = GetParam();
    TTreeList tree;
    std::map<std::string, TTreeListTextNode*> made;
    for (const std::string path : c.paths) {
        const size_t slash = path.rfind('/');
        TTreeListTextNode* item =
            slash == std::string::npos ? tree.AddItem() : made.at(path.substr(0, slash))->AddChild();
        item->SetText(TreeListColumnName, slash == std::string::npos ? path : path.substr(slash + 1));
        made[path] = item;
    }
    TGoToSearch search(tree, WindowGuard());
    search.Start(QString::fromUtf8(c.query));
    search.Finish();
    std::vector<std::string> listed;
    for (const TGoToEntry& entry : search.Results())
        for (const auto& [path, item] : made)
            if (item == entry.item)
                listed.push_back(path);
    EXPECT_EQ(listed, std::vector<std::string>(c.expected.begin(), c.expected.end()));
    EXPECT_EQ(search.MatchCount(), c.expected.size());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Ranking, ::testing::Values(
    TRankCase{"wholeThenPrefixThenInside", {"Subbudget", "Budgeting", "Old budget plan", "Budget"}, "budget",
              {"Budget", "Old budget plan", "Budgeting", "Subbudget"}},
    TRankCase{"wordsInAnyOrder",           {"Old budget plan", "Plan", "Budget"}, "PLAN  old", {"Old budget plan"}},
    TRankCase{"shallowerFirst",            {"Work", "Work/Notes", "Notes", "Work/Notes/x"}, "notes", {"Notes", "Work/Notes"}},
    TRankCase{"accentsAndCaseAside",       {"Caf\xC3\xA9", "CAF\xC3\x89 noir", "Caf\xE9 1252", "Cafeteria"}, "cafe",
              {"Caf\xC3\xA9", "CAF\xC3\x89 noir", "Caf\xE9 1252", "Cafeteria"}},
    TRankCase{"accentsTypedToo",           {"Resume", "R\xC3\xA9sum\xC3\xA9"}, "r\xC3\xA9sum\xC3\xA9", {"Resume", "R\xC3\xA9sum\xC3\xA9"}},
    TRankCase{"sharpSGrows",               {"Stra\xC3\x9F" "e", "Strasse 2"}, "STRASSE", {"Stra\xC3\x9F" "e", "Strasse 2"}},
    TRankCase{"blankFindsNothing",         {"A", "B"}, "   ", {}}
));
// clang-format on

// In the window: A with children A1..A5, then B and C.
class NavigationTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
        TTreeList& tree = m_window->TreeList();
        for (const char* name : {"A", "B", "C"})
            tree.AddItem()->SetText(TreeListColumnName, name);
        m_a = tree.TopItem(0);
        m_b = tree.TopItem(1);
        m_c = tree.TopItem(2);
        for (int i = 1; i <= 5; ++i)
            m_a->AddChild()->SetText(TreeListColumnName, "A" + std::to_string(i));
        m_a->SetFocused();
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }
    TNavigator& Nav() { return m_window->Navigator(); }
    std::string Focused() { return std::string(m_window->TreeList().FocusedItem()->GetText(TreeListColumnName)); }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
    TTreeListTextNode* m_a = nullptr;
    TTreeListTextNode* m_b = nullptr;
    TTreeListTextNode* m_c = nullptr;
};

TEST_F(NavigationTest, StepsAreNoPlacesButJumpsAndLongMovesAre)
{
    m_b->SetFocused();  // next to A while A is collapsed: a step
    EXPECT_TRUE(Nav().History().Places().empty());
    m_a->SetFocused();
    Nav().JumpTo(m_b);  // a jump, near as it lands
    m_a->Child(3)->SetFocused();  // expands A: B is now rows away
    EXPECT_EQ(Nav().History().Places().size(), 3u);
    m_window->Commands().UpdateActions();
    EXPECT_TRUE(Action(*m_window, Id::actGoBack)->isEnabled());
    EXPECT_FALSE(Action(*m_window, Id::actGoForward)->isEnabled());
    Run(*m_window, Id::actGoBack);
    EXPECT_EQ(Focused(), "B");
    // The mouse's back button goes through the same command.
    QTest::mouseClick(m_window->TreeListView()->viewport(), Qt::BackButton);
    EXPECT_EQ(Focused(), "A");
    m_window->activateWindow();
    if (QTest::qWaitForWindowActive(m_window.get())) {
        QTest::keyClick(m_window->TreeListView(), Qt::Key_Right, Qt::AltModifier);
        EXPECT_EQ(Focused(), "B");
    } else {
        Run(*m_window, Id::actGoForward);
    }
    QTest::mouseClick(m_window->TreeListView()->viewport(), Qt::ForwardButton);
    EXPECT_EQ(Focused(), "A4");
    EXPECT_EQ(m_window->Navigator().PathPanel()->text(), "A" + Sep + "A4");
}

TEST_F(NavigationTest, AResultOfFindInAllItemsIsAJumpHoweverNearItLands)
{
    m_window->FindAll().Search().Start(QStringLiteral("B"), {true, true}, TFindScope::Names);
    m_window->FindAll().Search().Finish();
    m_window->FindAll().Activate(0);
    EXPECT_EQ(Focused(), "B");
    ASSERT_EQ(Nav().History().Places().size(), 2u);
    EXPECT_EQ(Nav().History().Places().front(), m_a);
}

TEST_F(NavigationTest, ADeletedItemLeavesTheHistoryAndUndoDoesNotBringItBack)
{
    Nav().JumpTo(m_c);
    Nav().JumpTo(m_a->Child(1));
    Nav().JumpTo(m_b);
    m_window->TreeList().ClearSelection();
    m_c->SetSelected(true);
    m_prompter->answers.push_back(QMessageBox::Ok);
    Run(*m_window, Id::actEditItemDelete);
    Run(*m_window, Id::actEditItemUndo);
    ASSERT_TRUE(m_window->TreeList().IsAttached(m_c));
    for (const TTreeListTextNode* place : Nav().History().Places())
        EXPECT_NE(place, m_c);
    m_b->SetFocused();
    Run(*m_window, Id::actGoBack);
    EXPECT_EQ(Focused(), "A2");
    Run(*m_window, Id::actGoBack);
    EXPECT_EQ(Focused(), "A");
}

TEST_F(NavigationTest, GoToItemFocusesTheChoiceAndEscChangesNothing)
{
    for (int i = 0; i < 60; ++i)
        m_c->AddChild()->SetText(TreeListColumnName, "Note " + std::to_string(i));
    m_window->Commands().UpdateActions();
    Run(*m_window, Id::actGoToItem);
    TGoToItemPopup* popup = Nav().GoToItemPopup();
    ASSERT_TRUE(popup && popup->isVisible());
    popup->Text()->setText(QStringLiteral("note"));
    popup->Search().Finish();
    EXPECT_EQ(popup->List()->topLevelItemCount(), 50);
    EXPECT_EQ(popup->CountLabel()->text(), QStringLiteral("60 matches"));
    EXPECT_EQ(popup->List()->topLevelItem(0)->text(1), QStringLiteral("C"));
    QTest::keyClick(popup->Text(), Qt::Key_Escape);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(Focused(), "A");

    Run(*m_window, Id::actGoToItem);
    popup->Text()->setText(QStringLiteral("4 a"));
    popup->Search().Finish();
    QTest::keyClick(popup->Text(), Qt::Key_Return);
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(Focused(), "A4");
    EXPECT_TRUE(m_a->Expanded());
    EXPECT_EQ(Nav().History().Places().size(), 2u);
    // The list never keeps an item the tree lets go.
    Run(*m_window, Id::actGoToItem);
    popup->Search().Finish();
    ASSERT_EQ(popup->List()->topLevelItemCount(), 1);
    m_c->SetFocused();
    m_window->TreeList().Delete(m_a);
    EXPECT_EQ(popup->List()->topLevelItemCount(), 0);
    QTest::keyClick(popup->Text(), Qt::Key_Escape);
}

}  // namespace
