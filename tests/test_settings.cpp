#include "settings/editoroptions.h"
#include "settings/formstorage.h"
#include "settings/propsstorage.h"
#include "settings/recentfiles.h"
#include "settings/storedfont.h"
#include "settings/subtreeplace.h"
#include "tests/settingstestkit.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

#include <functional>
#include <limits>
#include <sys/stat.h>
#include <vector>

namespace {

class TFakeWindow : public TPlacementWindow {
public:
    QRect Frame{0, 0, 442, 319};
    TShowState State = TShowState::Normal;
    bool MinimizedAtStart = false;

    QRect NormalFrame() const override { return Frame; }
    void SetNormalFrame(const QRect& frame) override { Frame = frame; }
    void MoveFrame(const QPoint& topLeft) override { Frame.moveTopLeft(topLeft); }
    TShowState ShowState() const override { return State; }
    void SetShowState(TShowState state) override { State = state; }
    bool RestoresToMaximized() const override { return false; }
    void StartMinimized() override { MinimizedAtStart = true; }
    QPoint MaximizedPosition() const override { return {-4, -4}; }
    bool Sizeable() const override { return true; }
};

// The primary screen is 1024 x 768 with a panel at its bottom; a second one
// stands to its right.
TScreenFacts Screens()
{
    return {QSize(1024, 768), 96, QRect(0, 0, 1024, 740), {QRect(0, 0, 1024, 740), QRect(1024, 0, 1280, 1024)}};
}

// The design frame centred on the primary screen's free area.
const QRect Centred(291, 210, 442, 319);

struct TStore {
    TFakeWindow Window;
    TFormStorage Storage{Window};
    bool Collapsed = false;
    TStore()
    {
        Storage.SetScreens(&Screens);
        Storage.AddStoredProperty(QStringLiteral("Splitter1.Maximized"),
                                  BooleanProperty([this] { return Collapsed; }, [this](bool v) { Collapsed = v; }));
    }
};

} // namespace

// Style words, scroll bars and colour words are restored from files in the
// window's tests; these are the remaining edges of the text forms.
TEST(StoredText, EdgesOfTheTextForms)
{
    qint32 value = 7;
    const auto assign = [&](TStoredProperty property, const char* text) {
        value = 7;
        TPropsStorage::AssignText(property, QString::fromLatin1(text));
        return value;
    };
    const auto get = [&] { return value; };
    const auto set = [&](qint32 v) { value = v; };
    EXPECT_EQ(assign(SetProperty({"fsBold", "fsItalic"}, get, set), ""), 0);
    EXPECT_EQ(assign(IntegerProperty(get, set), " -13 "), -13);
    EXPECT_EQ(assign(IntegerProperty(get, set), "2147483648"), 0);
    value = 3;
    EXPECT_EQ(TPropsStorage::ValueText(EnumerationProperty({"fpDefault"}, get, set)), "");
    QString text;
    TPropsStorage::AssignText(TextProperty([&] { return text; }, [&](const QString& v) { text = v; }), "  C:\\notes  ");
    EXPECT_EQ(text, "C:\\notes");
}

// A hand-edited height or size at the ends of the integers gives the largest
// font there is, and reads back as numbers.
TEST(StoredText, FontHeightAndSizeAtTheEndsOfTheIntegers)
{
    QFont font;
    TFontAccess access{[&] { return font; }, [&](const QFont& f) { font = f; }, [] { return QColor(); },
                       [](const QColor&) {}, [] { return QPalette(); }, [] { return 96; }};
    const TStoredProperty property = FontProperty(access);
    const TStoredProperty &height = property.SubProperties.at(2), &size = property.SubProperties.at(5);
    constexpr int Largest = std::numeric_limits<int>::max();
    const struct { const TStoredProperty& property; const char* text; const char *height, *size; } cases[] = {
        {height, "-2147483648", "-2147483647", "1610612735"},
        {size, "1610612736", "-2147483647", "1610612735"},
        {size, "-2147483648", "2147483647", "-1610612735"}};
    for (const auto& c : cases) {
        font = QFont();
        TPropsStorage::AssignText(c.property, QString::fromLatin1(c.text));
        EXPECT_EQ(font.pixelSize(), Largest) << c.text;
        EXPECT_EQ(TPropsStorage::ValueText(height) + " " + TPropsStorage::ValueText(size),
                  QString::fromLatin1(c.height) + " " + QString::fromLatin1(c.size))
            << c.text;
    }
}

struct TPlacementCase {
    const char* name;
    QStringList lines;
    QRect frame;
    TShowState state;
    bool minimizedAtStart;
};

class Placement : public ::testing::TestWithParam<TPlacementCase> {};

TEST_P(Placement, RestoresFromAHandWrittenFile)
{
    const TPlacementCase& c = GetParam();
    TSettingsFolder folder;
    folder.Write(c.lines);
    TStore store;
    store.Storage.FormShow();
    EXPECT_EQ(store.Window.Frame, c.frame);
    EXPECT_EQ(store.Window.State, c.state);
    EXPECT_EQ(store.Window.MinimizedAtStart, c.minimizedAtStart);
}

const QString Here = QStringLiteral("NormPos=\"10,20,510,420\"");

INSTANTIATE_TEST_SUITE_P(
    Cases, Placement,
    ::testing::Values(
        TPlacementCase{"FirstStart", {}, Centred, TShowState::Normal, false},
        TPlacementCase{"ThisResolutionFirst", {"NormPos(1024x768)=\"10,20,510,420\"", "NormPos=\"30,40,530,440\""},
                       QRect(10, 20, 500, 400), TShowState::Normal, false},
        TPlacementCase{"OtherResolutionTakesThePlainName",
                       {"NormPos(1280x1024)=\"10,20,510,420\"", "NormPos=\"30,40,530,440\""},
                       QRect(30, 40, 500, 400), TShowState::Normal, false},
        TPlacementCase{"UnquotedByHand", {"NormPos=10, 20, 510, 420"}, QRect(10, 20, 500, 400), TShowState::Normal, false},
        TPlacementCase{"MalformedWordsKeepTheCurrentEdges", {"NormPos=10 x 510"}, QRect(10, 0, 500, 319),
                       TShowState::Normal, false},
        TPlacementCase{"RightNotGreaterThanLeft", {"NormPos=\"500,20,500,420\"", "ShowCmd=3"}, Centred,
                       TShowState::Maximized, false},
        TPlacementCase{"OtherPixelsPerInchKeepsOnlyTheState", {Here, "PixelsPerInch=120", "ShowCmd=3"}, Centred,
                       TShowState::Maximized, false},
        TPlacementCase{"OnTheSecondScreen", {"NormPos=\"1100,50,1600,450\""}, QRect(1100, 50, 500, 400),
                       TShowState::Normal, false},
        TPlacementCase{"OffEveryScreenIsCentred", {"NormPos=\"3000,100,3500,500\""}, QRect(262, 170, 500, 400),
                       TShowState::Normal, false},
        TPlacementCase{"TitleBarOnly50PixelsOnScreen", {"NormPos=\"-450,100,50,400\""}, QRect(262, 220, 500, 300),
                       TShowState::Normal, false},
        TPlacementCase{"TitleBarAboveTheScreen", {"NormPos=\"100,-20,600,380\""}, QRect(262, 170, 500, 400),
                       TShowState::Normal, false},
        TPlacementCase{"LargerThanTheScreenIsCut", {"NormPos=\"3000,0,5000,2000\""}, QRect(0, 0, 1024, 740),
                       TShowState::Normal, false},
        TPlacementCase{"ShowCmd2StartsMinimised", {Here, "ShowCmd=2"}, QRect(10, 20, 500, 400), TShowState::Normal, true},
        TPlacementCase{"ShowCmd4IsTheDefault", {Here, "ShowCmd=4"}, QRect(10, 20, 500, 400), TShowState::Normal, false},
        TPlacementCase{"FormVersionBelowZeroRestoresNothing", {Here, "ShowCmd=3", "FormVersion=-1"}, Centred,
                       TShowState::Normal, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Placement, SkippedRestoreIsWrittenAfreshWithVersionZero)
{
    TSettingsFolder folder;
    folder.Write({"FormVersion=-1", "Splitter1_Maximized=True"});
    TStore store;
    store.Storage.FormShow();
    EXPECT_FALSE(store.Collapsed);
    store.Storage.FormCloseQuery(true);
    EXPECT_EQ(folder.Values().value("FormVersion"), "0");
    EXPECT_EQ(folder.Values().value("Splitter1_Maximized"), "False");
}

TEST(SettingsFaults, AValueThatIsNotTextCountsAsMissingAndIsRepaired)
{
    TSettingsFolder folder;
    folder.Write({"FormVersion=0, 1", "Flags=@ByteArray(2)", "ShowCmd=@Rect(1 2 3 4)", "PixelsPerInch=96", Here,
                  "Splitter1_Maximized=True"});
    TStore store;
    {
        TWarnings warnings;
        store.Storage.FormShow();
        const QStringList lines = warnings.Lines();
        ASSERT_EQ(lines.size(), 3);
        for (const char* name : {"\"FormVersion\"", "\"Flags\"", "\"ShowCmd\""})
            EXPECT_EQ(lines.filter(QString::fromLatin1(name)).size(), 1) << name;
    }
    EXPECT_EQ(store.Window.Frame, QRect(10, 20, 500, 400));
    EXPECT_TRUE(store.Collapsed);

    store.Storage.FormCloseQuery(true);
    const QMap<QString, QString> repaired = {{"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"},
                                             {"NormPos", "10,20,510,420"}, {"MinMaxPos(1024x768)", "-1,-1,-4,-4"}};
    for (auto i = repaired.begin(); i != repaired.end(); ++i)
        EXPECT_EQ(folder.Values().value(i.key()), i.value()) << i.key().toStdString();
}

TEST(StoredProps, EntriesNeedAComponentAndAPropertyName)
{
    TStore store;
    const auto none = BooleanProperty([] { return false; }, [](bool) {});
    for (const char* entry : {"Memo1", ".WordWrap", "Memo1. ", " . "})
        EXPECT_FALSE(store.Storage.AddStoredProperty(QString::fromLatin1(entry), none)) << entry;
    EXPECT_TRUE(store.Storage.AddStoredProperty(QStringLiteral(" Memo1 . WordWrap"), none));
    EXPECT_EQ(store.Storage.StoredProps(), QStringList({"Splitter1.Maximized", " Memo1 . WordWrap"}));
}

// A text value edited by hand, commas and all, reads back as it was written;
// a list would otherwise count as "not text".
TEST(StoredText, HandWrittenTextWithCommasReadsAsWritten)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Notes, 2026", "Notes, 2026"},
        {"a,b", "a,b"},
        {"x ,  y, ", "x ,  y,"},
        {"\"quoted, text\"", "quoted, text"},
        {"\"half\", quoted", "half,quoted"},
    };
    for (const auto& [line, expected] : cases) {
        TSettingsFolder folder;
        folder.Write({QStringLiteral("Folder_Text=") + QString::fromUtf8(line)});
        TStore store;
        QString text = QStringLiteral("unchanged");
        store.Storage.AddStoredProperty(QStringLiteral("Folder.Text"),
                                        TextProperty([&] { return text; }, [&](const QString& v) { text = v; }));
        TWarnings warnings;
        store.Storage.FormShow();
        EXPECT_EQ(text, QString::fromUtf8(expected)) << line;
        EXPECT_TRUE(warnings.Lines().isEmpty()) << line;
    }
}

// Two editors, A and B, change the one stored list in turn; each step is
// "editor op file" with op + (opened or saved), - (gone) or 0 (Clear Recent).
// What every editor then shows is the stored list.
struct TRecentCase {
    const char* name;
    std::vector<std::string> steps;
    std::vector<std::string> expected;
};

class RecentFiles : public ::testing::TestWithParam<TRecentCase> {};

TEST_P(RecentFiles, SharedListAfterSteps)
{
    TSettingsFolder folder;
    const QString base = QDir::currentPath() + QLatin1Char('/');
    for (const std::string& step : GetParam().steps) {
        const QString file = QString::fromStdString(step).mid(4);
        if (step[2] == '+')
            TRecentFiles::Note(file);
        else if (step[2] == '-')
            TRecentFiles::Forget(file);
        else
            TRecentFiles::Clear();
    }
    QStringList expected;
    for (const std::string& file : GetParam().expected)
        expected << (file[0] == '/' ? QString::fromStdString(file) : base + QString::fromStdString(file));
    EXPECT_EQ(TRecentFiles::Read(), expected);
}

// Files f<from>.trd to f<to>.trd opened in turn by the two editors.
std::vector<std::string> Opened(int from, int to)
{
    std::vector<std::string> steps;
    for (int i = from; i <= to; ++i)
        steps.push_back((i % 2 ? "A + f" : "B + f") + std::to_string(i) + ".trd");
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    MergeAndLimits, RecentFiles,
    ::testing::Values(
        TRecentCase{"BothEditorsKeepTheirEntries", {"A + a.trd", "B + b.trd", "A + c.trd"}, {"c.trd", "b.trd", "a.trd"}},
        TRecentCase{"ReopenedMovesToTheFrontOnce", {"A + a.trd", "B + b.trd", "B + a.trd"}, {"a.trd", "b.trd"}},
        TRecentCase{"OneFileUnderTwoSpellings", {"A + a.trd", "B + ./a.trd"}, {"a.trd"}},
        TRecentCase{"GoneFileLeavesOnlyItself", {"A + a.trd", "B + b.trd", "A - b.trd", "B - x.trd"}, {"a.trd"}},
        TRecentCase{"ClearInOneEditorEmptiesAll", {"A + a.trd", "B + b.trd", "A 0", "B + c.trd"}, {"c.trd"}},
        TRecentCase{"CommasInAPath", {"A + /tmp/Notes, 2026/a.trd"}, {"/tmp/Notes, 2026/a.trd"}},
        TRecentCase{"TenKeptTheOldestDropped", Opened(1, 11),
                    {"f11.trd", "f10.trd", "f9.trd", "f8.trd", "f7.trd", "f6.trd", "f5.trd", "f4.trd", "f3.trd",
                     "f2.trd"}},
        TRecentCase{"EmptyNameIsNoEntry", {"A + a.trd", "A + "}, {"a.trd"}}),
    [](const ::testing::TestParamInfo<TRecentCase>& info) { return std::string(info.param.name); });

// Each save notes its file and its subtree place; when nothing changes, the
// settings file is not written again (a write replaces it: a new inode).
TEST(SavedSettings, UnchangedAreNotWrittenAgain)
{
    TSettingsFolder folder;
    const QString settings = folder.ConfPath();
    const auto inode = [&settings] {
        struct stat st {};
        return ::stat(QFile::encodeName(settings).constData(), &st) == 0 ? st.st_ino : 0;
    };
    const std::pair<std::function<void()>, bool> steps[] = {
        {[] { TRecentFiles::Note(QStringLiteral("a.trd")); }, true},
        {[] { TRecentFiles::Note(QStringLiteral("a.trd")); }, false},
        {[] { TRecentFiles::Note(QStringLiteral("b.trd")); }, true},
        {[] { TRecentFiles::Forget(QStringLiteral("c.trd")); }, false},
        {[] { TSubtreePlace::Write(QStringLiteral("a.trd"), {1, 2}); }, true},
        {[] { TSubtreePlace::Write(QStringLiteral("a.trd"), {1, 2}); }, false},
        {[] { TSubtreePlace::Write(QStringLiteral("a.trd"), {}); }, true},
        {[] { TSubtreePlace::Write(QStringLiteral("b.trd"), {}); }, false},
    };
    for (size_t step = 0; step < std::size(steps); ++step) {
        const auto before = inode();
        steps[step].first();
        EXPECT_EQ(inode() != before, steps[step].second) << "step " << step;
    }
}

// Out-of-range seconds read as the nearest allowed value; the options are
// off by default.
TEST(EditorOptions, DefaultsAndRange)
{
    const std::pair<const char*, int> cases[] = {{nullptr, 30}, {"1", 5}, {"5", 5}, {"600", 600}, {"601", 600},
                                                 {"x", 30}};
    for (const auto& [stored, seconds] : cases) {
        TSettingsFolder folder;
        if (stored) {
            QSettings ini(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Vek"),
                          QStringLiteral("VekTreeViewEditor"));
            ini.setValue(QStringLiteral("Options/AutoSaveSeconds"), QString::fromLatin1(stored));
        }
        const TEditorOptions options = TEditorOptions::Read();
        EXPECT_EQ(options.AutoSaveSeconds, seconds) << (stored ? stored : "none");
        EXPECT_FALSE(options.AutoSave || options.ReopenLast || options.NumberHeadings);
    }
}
