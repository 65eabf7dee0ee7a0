#include "app/settingsbinding/formstoragehook.h"
#include "app/settingsbinding/widgetproperties.h"
#include "tests/settingstestkit.h"

#include <QApplication>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Runs the store's work as it comes; a failure fails the test.
class TDirectGuard : public TGuard {
public:
    void Run(const std::function<void()>& work) override { work(); }
};

// Stands in for the main window with the widgets whose stored properties
// have edges of their own: the editor's font and scroll bars, the dialogs'
// folders and the folded panes. The main window's tests cover the rest.
class TTestWindow : public QWidget {
public:
    QString OpenDir, SaveDir;
    bool SplitterMinimized = false, ToolBarTVMaximized = true;
    QPlainTextEdit* Memo1 = new QPlainTextEdit(this);
    TDirectGuard m_guard;
    std::unique_ptr<TFormStorageHook> FormStorage1;

    TTestWindow()
    {
        resize(438, 315);
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(13);
        Memo1->setFont(font);
        Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        FormStorage1 = std::make_unique<TFormStorageHook>(*this, m_guard);
        const auto flag = [](bool& holder) {
            return BooleanProperty([&holder] { return holder; }, [&holder](bool v) { holder = v; });
        };
        const auto folder = [](QString& holder) {
            return FolderProperty([&holder] { return holder; }, [&holder](const QString& v) { holder = v; });
        };
        TFormStorage& storage = FormStorage1->Storage();
        storage.AddStoredProperty("OpenDialog1.InitialDir", folder(OpenDir));
        storage.AddStoredProperty("SaveDialog1.InitialDir", folder(SaveDir));
        storage.AddStoredProperty("Splitter1.Minimized", flag(SplitterMinimized));
        storage.AddStoredProperty("ToolBarTV.Maximized", flag(ToolBarTVMaximized));
        storage.AddStoredProperty("Memo1.Font", EditorFontProperty(Memo1), Memo1);
        storage.AddStoredProperty("Memo1.ScrollBars", ScrollBarsProperty(Memo1), Memo1);
    }

    void Start()
    {
        show();
        QApplication::processEvents();
    }
};

} // namespace

struct TRestoreCase {
    const char* name;
    QStringList lines;
    std::function<void(const TTestWindow&)> check;
};

class RestoreFromFile : public ::testing::TestWithParam<TRestoreCase> {};

TEST_P(RestoreFromFile, AssignsTheValue)
{
    TSettingsFolder folder;
    folder.Write(GetParam().lines);
    TTestWindow window;
    window.Start();
    GetParam().check(window);
}

using W = const TTestWindow&;
QColor TextColor(W w) { return w.Memo1->palette().color(QPalette::Text); }

INSTANTIATE_TEST_SUITE_P(
    Cases, RestoreFromFile,
    ::testing::Values(
        TRestoreCase{"StyleWordsWithoutBrackets", {"Memo1_FontStyle=fsBold fsItalic"},
                     [](W w) { EXPECT_TRUE(w.Memo1->font().bold() && w.Memo1->font().italic()); }},
        TRestoreCase{"StyleWithAnUnknownWordInBrackets", {"Memo1_FontStyle=[fsBold, fsHeavy]"},
                     [](W w) { EXPECT_TRUE(w.Memo1->font().bold() && !w.Memo1->font().italic()); }},
        TRestoreCase{"PitchFixed", {"Memo1_FontPitch=fpFixed"}, [](W w) { EXPECT_TRUE(w.Memo1->font().fixedPitch()); }},
        TRestoreCase{"SizeIsAppliedAfterHeight", {"Memo1_FontHeight=-14", "Memo1_FontSize=11"},
                     [](W w) { EXPECT_EQ(w.Memo1->font().pixelSize(), 15); }},
        TRestoreCase{"ColourWordIsBlack", {"Memo1_FontColor=clRed"}, [](W w) { EXPECT_EQ(TextColor(w), Qt::black); }},
        TRestoreCase{"WindowTextIsThePalettesText", {"Memo1_FontColor=-2147483640"},
                     [](W w) { EXPECT_EQ(TextColor(w), QApplication::palette(w.Memo1).color(QPalette::Text)); }},
        TRestoreCase{"ScrollBarsInCapitals", {"Memo1_ScrollBars=SSVERTICAL"},
                     [](W w) { EXPECT_EQ(w.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff); }},
        TRestoreCase{"ScrollBarsUnknownWordKeepsThem", {"Memo1_ScrollBars=ssDiagonal"},
                     [](W w) { EXPECT_EQ(w.Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn); }},
        TRestoreCase{"FolderLosesItsTrailingDelimiter",
                     {"OpenDialog1_InitialDir=/home/me/notes/", "SaveDialog1_InitialDir=C:\\\\"},
                     [](W w) { EXPECT_EQ(w.OpenDir + "|" + w.SaveDir, "/home/me/notes|C:\\"); }},
        TRestoreCase{"FoldedPanes", {"Splitter1_Minimized=true", "ToolBarTV_Maximized=FALSE"},
                     [](W w) { EXPECT_TRUE(w.SplitterMinimized && !w.ToolBarTVMaximized); }},
        TRestoreCase{"MaximisedKeepsTheNormalFrame", {"NormPos=\"50,60,550,460\"", "ShowCmd=3"},
                     [](W w) { EXPECT_EQ(w.isMaximized() ? w.normalGeometry() : QRect(), QRect(52, 62, 496, 396)); }},
        TRestoreCase{"MinimisedStartsMinimised", {"NormPos=\"50,60,550,460\"", "ShowCmd=2"},
                     [](W w) { EXPECT_EQ(w.isMinimized() ? w.frameGeometry() : QRect(), QRect(50, 60, 500, 400)); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WindowSettings, TenRestartsNeitherMoveNorGrowTheWindow)
{
    TSettingsFolder folder;
    {
        TTestWindow window;
        window.Start();
        window.move(50, 60);
        window.resize(500, 400);
        window.close();
    }
    const QString stored = folder.Values().value("NormPos");
    EXPECT_EQ(stored, "50,60,554,464");
    for (int run = 0; run < 10; ++run) {
        TTestWindow window;
        window.Start();
        EXPECT_EQ(window.frameGeometry(), QRect(50, 60, 504, 404)) << run;
        window.close();
        EXPECT_EQ(folder.Values().value("NormPos"), stored) << run;
    }
}
