#include "tests/apptestkit.h"

#include "app/search/findallmodel.h"
#include "app/search/findallpane.h"
#include "app/search/textmatcher.h"
#include "app/search/treesearch.h"
#include "app/window/application.h"
#include "app/window/findallcontroller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>
#include <random>

namespace {

// Matching one string

struct TMatchCase {
    const char* name;
    std::string bytes;
    QString needle;
    bool matchCase;
    bool wholeWord;
    std::vector<int> offsets;  // in the editor's text
};

class Matching : public ::testing::TestWithParam<TMatchCase> {};

TEST_P(Matching, FindsWhatTheEditorShows)
{
    const TMatchCase& c = GetParam();
    const TTextMatcher matcher(c.needle, {c.matchCase, c.wholeWord});
    std::vector<int> offsets;
    for (const TTextMatch& match : matcher.Find(EditorTextOf(c.bytes)))
        offsets.push_back(match.offset);
    EXPECT_EQ(offsets, c.offsets);
    EXPECT_EQ(matcher.Count(c.bytes), static_cast<long>(c.offsets.size()));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Cases, Matching, ::testing::Values(
    TMatchCase{"utf8FoldsUmlauts",        "Gr\xC3\xBC\xC3\x9F GR\xC3\x9C\xC3\x9F", "gr\u00FC\u00DF", false, false, {0, 5}},
    TMatchCase{"utf8MatchCase",           "Gr\xC3\xBC\xC3\x9F GR\xC3\x9C\xC3\x9F", "GR\u00DC\u00DF", true,  false, {5}},
    TMatchCase{"cp1252FoldsUmlauts",      "Gr\xFC\xDF GR\xDC\xDF",                 "gr\u00FC\u00DF", false, false, {0, 5}},
    TMatchCase{"cp1252Euro",              "5 \x80 and 7 \x80",                     "\u20AC",         true,  false, {2, 10}},
    TMatchCase{"kelvinSignFoldsToK",      "\xE2\x84\xAAilo kilo",                  "KILO",           false, false, {0, 5}},
    TMatchCase{"kelvinSignIsNoK",         "\xE2\x84\xAAilo kilo",                  "kilo",           true,  false, {5}},
    TMatchCase{"longSFoldsToS",           "Ma\xC5\xBF",                            "MAS",            false, false, {0}},
    TMatchCase{"greekSigmas",             "\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x9F\xCE\xA3 \xCF\x83\xCE\xBF\xCF\x86\xCE\xBF\xCF\x82",
                                                                                   "\u03C3\u03BF\u03C6\u03BF\u03C2", false, false, {0, 6}},
    TMatchCase{"supplementaryFolds",      "\xF0\x90\x90\x80 \xF0\x90\x90\xA8",     "\U00010428",     false, false, {0, 3}},
    TMatchCase{"wholeWordAtTextEnds",     "cat concat cat",                        "cat",            false, true,  {0, 11}},
    TMatchCase{"wholeWordAtLineBreaks",   "x\r\ncat\rcat\ncat_",                   "cat",            false, true,  {2, 6}},
    TMatchCase{"wholeWordBesideUtf8",     "\xC3\xA9" "cat cat",                    "cat",            false, true,  {5}},
    TMatchCase{"wholeWordBesideCp1252",   "\xE9" "cat cat",                        "cat",            false, true,  {5}},
    TMatchCase{"wholeWordBesideQuotes",   "\xC2\xAB" "cat\xC2\xBB",                "cat",            false, true,  {1}},
    TMatchCase{"lineBreaksAreOneEach",    "a\r\nb\rc\nneedle",                     "needle",         true,  false, {6}},
    TMatchCase{"needleOverALineBreak",    "one\r\ntwo",                            "one\ntwo",       true,  false, {0}},
    TMatchCase{"matchesDoNotOverlap",     "aaaaa",                                 "aa",             true,  false, {0, 2}},
    TMatchCase{"simpleFoldingOnly",       "strasse stra\xC3\x9F" "e",              "STRA\u00DF" "E", false, false, {8}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// Random strings of pieces that trouble a byte-level search: letters that a
// character outside ASCII folds to, both encodings, line breaks, word ends.
TEST(Matching, BytesGiveTheSameCountsAsTheDecodedText)
{
    const std::vector<std::string> pieces = {
        "a", "b", "k", "s", "K", "S", "A", "_", "1", " ", ".", "\r\n", "\r", "\n",
        "\xC3\xA4", "\xC3\x84", "\xC3\x9F", "\xE1\xBA\x9E", "\xE2\x84\xAA", "\xC5\xBF", "\xC3\xA9",
        "\xE4", "\xC4", "\xDF", "\x8A", "\x9A", "\xE9"};
    const QString needles[] = {"a", "ab", "k", "Ask", "ss", "s_1", "\u00E4", "a\u00E4", "\u00DF", "\u00E9",
                               "\u0160", "K a", "\u212A"};
    std::mt19937 random(15);
    std::vector<std::string> strings;
    for (int i = 0; i < 3000; ++i) {
        std::string bytes;
        const int length = static_cast<int>(random() % 30);
        for (int j = 0; j < length; ++j)
            bytes += pieces[random() % pieces.size()];
        strings.push_back(bytes);
    }
    long ruledOut = 0, countedOnBytes = 0, found = 0;
    for (const QString& needle : needles) {
        for (int options = 0; options < 4; ++options) {
            const TTextMatcher matcher(needle, {(options & 1) != 0, (options & 2) != 0});
            for (const std::string& bytes : strings) {
                const long slow = static_cast<long>(matcher.Find(EditorTextOf(bytes)).size());
                found += slow;
                const std::string where = needle.toStdString() + " " + std::to_string(options) + " in \"" + bytes + "\"";
                if (!matcher.MayMatch(bytes)) {
                    ++ruledOut;
                    ASSERT_EQ(slow, 0) << where;
                    continue;
                }
                const long onBytes = matcher.CountOnBytes(bytes);
                if (onBytes != TAsciiMatcher::Undecided) {
                    ++countedOnBytes;
                    ASSERT_EQ(onBytes, slow) << where;
                }
            }
        }
    }
    // Each path had its share of the work.
    EXPECT_GT(ruledOut, 10000);
    EXPECT_GT(countedOnBytes, 2000);
    EXPECT_GT(found, 1000);
}

// Searching the tree

struct TNode {
    std::string name, description;
    std::vector<TNode> children;
};

void Build(TTreeList& tree, TTreeListTextNode* parent, const std::vector<TNode>& nodes)
{
    for (const TNode& node : nodes) {
        TTreeListTextNode* item = parent ? parent->AddChild() : tree.AddItem();
        item->SetText(TreeListColumnName, node.name);
        item->SetText(TreeListColumnDesc, node.description);
        Build(tree, item, node.children);
    }
}

// Projects(2026(Budget, Plan), Archive), Notes
void BuildSample(TTreeList& tree)
{
    Build(tree, nullptr,
          {{"Projects", "All projects",
            {{"2026", "", {{"Budget", "Numbers\r\nthe budget for 2026\r\nmore budget", {}}, {"Plan", "budget?", {}}}},
             {"Archive", "", {}}}},
           {"Notes", "Budget notes", {}}});
}

TTreeListTextNode* Find(const TTreeList& tree, const std::string& name)
{
    for (TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        if (item->GetText(TreeListColumnName) == name)
            return item;
    return nullptr;
}

// Each result as "path|In|line|text with [the match]", then the count.
QStringList Describe(const TTreeSearch& search)
{
    QStringList rows;
    for (const TFindAllResult& r : search.Results()) {
        QString text = r.lineText;
        text.insert(r.lineMatchStart + r.length, QLatin1Char(']'));
        text.insert(r.lineMatchStart, QLatin1Char('['));
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(TFindAllModel::ItemPath(r.item), r.column == TreeListColumnName ? "Name" : "Description")
                    .arg(r.line)
                    .arg(text);
    }
    rows << TFindAllPane::CountText(search);
    return rows;
}

QStringList FreshSearch(TTreeList& tree, const QString& needle, TFindScope scope = TFindScope::NamesAndDescriptions)
{
    TTreeSearch search(tree, WindowGuard());
    search.Start(needle, {}, scope);
    search.Finish();
    return Describe(search);
}

const QString BudgetName = "Projects \u203A 2026 \u203A Budget|Name|1|[Budget]";
const QString BudgetLine2 = "Projects \u203A 2026 \u203A Budget|Description|2|the [budget] for 2026";
const QString BudgetLine3 = "Projects \u203A 2026 \u203A Budget|Description|3|more [budget]";
const QString PlanLine = "Projects \u203A 2026 \u203A Plan|Description|1|[budget]?";
const QString NotesLine = "Notes|Description|1|[Budget] notes";


TEST(Search, ListsMatchesInDocumentOrderWithinTheScope)
{
    TTreeList tree;
    BuildSample(tree);
    EXPECT_EQ(FreshSearch(tree, "budget"),
              QStringList({BudgetName, BudgetLine2, BudgetLine3, PlanLine, NotesLine, "5 matches in 3 items"}));
    EXPECT_EQ(FreshSearch(tree, "budget", TFindScope::Names), QStringList({BudgetName, "1 match in 1 item"}));
    EXPECT_EQ(FreshSearch(tree, "budget", TFindScope::Descriptions),
              QStringList({BudgetLine2, BudgetLine3, PlanLine, NotesLine, "4 matches in 3 items"}));
}

// Matches sharing a line, then lines further on, each with its own line.
TEST(Search, SeveralMatchesOnALineEachShowTheirLine)
{
    TTreeList tree;
    Build(tree, nullptr, {{"N", "ab ab\r\n\r\nx ab\nab", {}}});
    EXPECT_EQ(FreshSearch(tree, "ab", TFindScope::Descriptions),
              QStringList({"N|Description|1|[ab] ab", "N|Description|1|ab [ab]", "N|Description|3|x [ab]",
                           "N|Description|4|[ab]", "4 matches in 1 item"}));
}

// The tab shows as a space.
TEST(Search, ALongLineIsCutAroundItsMatch)
{
    TTreeList tree;
    Build(tree, nullptr, {{"Long", std::string(100, 'x') + "\tneedle" + std::string(400, 'y'), {}}});
    EXPECT_EQ(FreshSearch(tree, "needle", TFindScope::Descriptions),
              QStringList({"Long|Description|1|\u2026" + QString(39, 'x') + " [needle]" + QString(194, 'y') + "\u2026",
                           "1 match in 1 item"}));
}

TEST(Search, ListsTenThousandMatchesAndCountsTheRest)
{
    TTreeList tree;
    for (int i = 0; i < 3000; ++i)
        tree.AddItem()->SetText(TreeListColumnDesc, "hit hit hit hit");
    TTreeSearch search(tree, WindowGuard());
    search.Start("hit", {}, TFindScope::NamesAndDescriptions);
    search.Finish();
    EXPECT_EQ(search.Results().size(), 10000u);
    EXPECT_EQ(TFindAllPane::CountText(search),
              "12,000 matches in 3,000 items; the first 10,000 are listed, 2,000 more are not");
    // Deleting what was listed brings unlisted matches into the list.
    for (int i = 0; i < 1000; ++i)
        tree.Delete(tree.TopItem(0));
    search.Finish();
    EXPECT_EQ(search.Results().size(), 8000u);
    EXPECT_EQ(TFindAllPane::CountText(search), "8,000 matches in 2,000 items");
}

// After each change the list is what a new search would list, whether the
// change came while the search ran or after it ended.
struct TChangeCase {
    const char* name;
    std::function<void(TTreeList&, const TTreeSearch&)> change;
};

class ResultsAfterAChange : public ::testing::TestWithParam<std::tuple<TChangeCase, bool>> {};

TEST_P(ResultsAfterAChange, AreThoseOfANewSearch)
{
    const auto& [c, whileRunning] = GetParam();
    TTreeList tree;
    BuildSample(tree);
    TTreeListTextNode* filler = tree.AddItem();
    filler->SetText(TreeListColumnName, "Filler");
    for (int i = 0; i < 1000; ++i)
        filler->AddChild()->SetText(TreeListColumnDesc, i % 100 == 0 ? "a budget line" : "nothing");
    TTreeSearch search(tree, WindowGuard());
    search.SetSliceTime(std::chrono::milliseconds(0));
    search.Start("budget", {}, TFindScope::NamesAndDescriptions);
    if (whileRunning) {
        // Into the filler's items, with results found before and after them.
        while (search.NextItem() && !search.NextItem()->IsInside(filler))
            search.RunSlice();
        search.RunSlice();
        search.RunSlice();
    } else {
        search.Finish();
    }
    ASSERT_EQ(search.Running(), whileRunning);
    c.change(tree, search);
    search.Finish();
    EXPECT_EQ(Describe(search), FreshSearch(tree, "budget"));
}

const TChangeCase ChangeCases[] = {
    {"deleteAMatchingItem", [](TTreeList& t, auto&) { t.Delete(Find(t, "Budget")); }},
    {"deleteASubtree", [](TTreeList& t, auto&) { t.Delete(Find(t, "Projects")); }},
    {"deleteWhereTheSearchIs", [](TTreeList& t, auto& s) {
         t.Delete(s.NextItem() ? s.NextItem() : Find(t, "Filler")->Child(249));
     }},
    {"deleteTheSubtreeItIsIn", [](TTreeList& t, auto&) { t.Delete(Find(t, "Filler")); }},
    {"moveUp", [](TTreeList& t, auto&) { Find(t, "Notes")->MoveTo(Find(t, "Projects"), amInsert); }},
    {"moveIntoAnother", [](TTreeList& t, auto&) { Find(t, "Plan")->MoveTo(Find(t, "Notes"), amAddChild); }},
    {"editAddsAMatch", [](TTreeList& t, auto&) { Find(t, "Archive")->SetText(TreeListColumnDesc, "old budget"); }},
    {"editRemovesAMatch", [](TTreeList& t, auto&) { Find(t, "Budget")->SetText(TreeListColumnDesc, "spent"); }},
    {"editMovesAMatch", [](TTreeList& t, auto&) { Find(t, "Plan")->SetText(TreeListColumnDesc, "a\r\nb budget"); }},
    {"editAnItemNotYetSearched", [](TTreeList& t, auto&) { Find(t, "Filler")->Child(999)->SetText(1, "budget"); }},
    {"newItemGetsText", [](TTreeList& t, auto&) { Find(t, "2026")->AddChild()->SetText(0, "Budget 2"); }},
    {"itemsComeWithText", [](TTreeList& t, auto&) {
         TTreeList other;
         Build(other, nullptr, {{"Imported budget", "", {}}});
         t.AppendItemsFrom(other);
     }},
    {"clear", [](TTreeList& t, auto&) { t.ClearItems(); }},
};

INSTANTIATE_TEST_SUITE_P(Changes, ResultsAfterAChange,
                         ::testing::Combine(::testing::ValuesIn(ChangeCases), ::testing::Bool()),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) ? "WhileRunning" : "AfterTheEnd");
                         });

// The pane in the window

class FindAllWindowTest : public WindowTest {
protected:
    void SetUp() override
    {
        WindowTest::SetUp();
        m_window = MakeWindow();
        BuildSample(m_window->TreeList());
        Find(m_window->TreeList(), "Notes")->SetFocused();
    }
    void TearDown() override
    {
        m_window.reset();
        WindowTest::TearDown();
    }
    TFindAllController& FindAll() const { return m_window->FindAll(); }
    TFindAllPane& Pane() const { return FindAll().Pane(); }
    // Opens the pane as Ctrl+Shift+F does and types the text.
    void Search(const QString& text)
    {
        Run(*m_window, TActionId::actSearchFindAll);
        Pane().FindText()->setText(text);
        FindAll().Search().Finish();
    }
    int Row(const QString& described) const
    {
        return static_cast<int>(Describe(FindAll().Search()).indexOf(described));
    }
    QString Selection() const { return m_window->Memo1()->textCursor().selectedText(); }

    std::unique_ptr<TfrmTreeViewEditorMain> m_window;
};

TEST_F(FindAllWindowTest, ActivationFocusesExpandsAndSelects)
{
    Search("budget");
    ASSERT_TRUE(FindAll().Dock()->isVisible());
    ASSERT_EQ(Pane().Model()->rowCount(), 5);
    TTreeListTextNode* budget = Find(m_window->TreeList(), "Budget");
    ASSERT_FALSE(budget->Parent()->Expanded());
    FindAll().Activate(Row(BudgetName));
    EXPECT_EQ(m_window->TreeList().FocusedItem(), budget);
    EXPECT_TRUE(budget->Selected());
    EXPECT_TRUE(budget->Parent()->Expanded());
    EXPECT_TRUE(budget->Parent()->Parent()->Expanded());
    EXPECT_EQ(m_window->TreeListView()->FocusedIndex().data().toString(), "Budget");
    EXPECT_EQ(Selection(), "");

    FindAll().Activate(Row(BudgetLine2));
    EXPECT_EQ(Selection(), "budget");
    EXPECT_EQ(m_window->Memo1()->textCursor().selectionStart(), 12);
}

TEST_F(FindAllWindowTest, EnterAndF4StepThroughTheResults)
{
    Search("budget");
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Up})
        QTest::keyClick(Pane().FindText(), key);
    QTest::keyClick(Pane().FindText(), Qt::Key_Return);
    EXPECT_EQ(Pane().CurrentRow(), 1);
    EXPECT_EQ(Selection(), "budget");
    std::vector<int> rows;
    for (int delta : {1, -1, -1, -1}) {
        FindAll().Step(delta);
        rows.push_back(Pane().CurrentRow());
    }
    // Round the start to the last: Notes.
    EXPECT_EQ(rows, (std::vector<int>{2, 1, 0, 4}));
    EXPECT_EQ(m_window->TreeList().FocusedItem(), Find(m_window->TreeList(), "Notes"));
    EXPECT_EQ(Selection(), "Budget");
    QTest::keyClick(m_window->Memo1(), Qt::Key_F4, Qt::ShiftModifier);
    EXPECT_EQ(Pane().CurrentRow(), 3);

    // In the list: a double click, and Enter.
    QTreeView* view = Pane().ResultView();
    QApplication::processEvents();
    const QPoint first = view->visualRect(Pane().Model()->index(0, 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, first);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(Selection(), "");
    EXPECT_EQ(m_window->TreeList().FocusedItem(), Find(m_window->TreeList(), "Budget"));
    Pane().SetCurrentRow(4);
    QTest::keyClick(view, Qt::Key_Return);
    EXPECT_EQ(m_window->TreeList().FocusedItem(), Find(m_window->TreeList(), "Notes"));
}

TEST_F(FindAllWindowTest, AResultOfADeletedItemIsGone)
{
    Search("budget");
    const int row = Row(PlanLine);
    Pane().SetCurrentRow(row);
    m_window->TreeList().Delete(Find(m_window->TreeList(), "Plan"));
    EXPECT_EQ(Pane().Model()->rowCount(), 4);
    EXPECT_EQ(Row(PlanLine), -1);
    // What now stands in its row leads to its own item; past the end, nothing happens.
    Find(m_window->TreeList(), "Budget")->SetFocused();
    FindAll().Activate(row);
    EXPECT_EQ(m_window->TreeList().FocusedItem(), Find(m_window->TreeList(), "Notes"));
    EXPECT_EQ(Selection(), "Budget");
    FindAll().Activate(4);
    EXPECT_EQ(Pane().CountLabel()->text(), "4 matches in 2 items");
}

TEST_F(FindAllWindowTest, APendingEditIsSearched)
{
    TTreeListTextNode* notes = Find(m_window->TreeList(), "Notes");
    notes->SetText(TreeListColumnDesc, std::string(TDescriptionPane::LazyDescriptionSize, 'n'));
    m_window->DescriptionPane().RefreshDescription(notes);
    m_window->Memo1()->moveCursor(QTextCursor::End);
    QTest::keyClicks(m_window->Memo1(), " zebra");
    ASSERT_EQ(notes->GetText(TreeListColumnDesc).find("zebra"), std::string::npos) << "the edit is not pending";
    Search("zebra");
    EXPECT_EQ(Describe(FindAll().Search()).last(), "1 match in 1 item");
}

TEST_F(FindAllWindowTest, OptionsAndScopeSearchAgain)
{
    Search("budget");
    Pane().MatchCase()->setChecked(true);
    FindAll().Search().Finish();
    EXPECT_EQ(Pane().CountLabel()->text(), "3 matches in 2 items");
    Pane().Scope()->setCurrentIndex(1);
    FindAll().Search().Finish();
    EXPECT_EQ(Pane().CountLabel()->text(), "No matches");
    Pane().WholeWord()->setChecked(true);
    Pane().Scope()->setCurrentIndex(0);
    Pane().FindText()->setText("bud");
    FindAll().Search().Finish();
    EXPECT_EQ(Pane().CountLabel()->text(), "No matches");
}

TEST_F(FindAllWindowTest, EscapeGivesTheKeyboardBack)
{
    m_window->activateWindow();
    if (!QTest::qWaitForWindowActive(m_window.get()))
        GTEST_SKIP() << "the platform does not activate windows";
    m_window->Memo1()->setFocus();
    QApplication::processEvents();
    Run(*m_window, TActionId::actSearchFindAll);
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), Pane().FindText());
    QTest::keyClick(Pane().FindText(), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), m_window->Memo1());
}

}  // namespace
