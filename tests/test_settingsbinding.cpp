#include "app/settingsbinding/formstoragehook.h"
#include "app/settingsbinding/widgetproperties.h"
#include "settings/reginifile.h"
#include "tests/settingstestkit.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

// Stands in for the main window: the editor, the icon picker, the word-wrap
// action, and plain holders for the dialogs' folders and the folded flags.
class TTestWindow : public QWidget {
public:
    bool AllowClose = true;
    QStringList Errors;
    QString OpenDir, SaveDir;
    bool SplitterMaximized = false, SplitterMinimized = false, ToolBarTVMaximized = true, ToolBarMemoMaximized = true;
    QPlainTextEdit* Memo1 = new QPlainTextEdit(this);
    QComboBox* IconComboBox = new QComboBox(this);
    QAction* actViewWordWrap = new QAction(this);
    std::unique_ptr<TFormStorageHook> FormStorage1;

    TTestWindow()
    {
        resize(438, 315);
        QFont font(QStringLiteral("Courier New"));
        font.setPixelSize(13);
        Memo1->setFont(font);
        Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
        Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        IconComboBox->setEditable(true);
        IconComboBox->addItems({"0", "1", "2"});
        actViewWordWrap->setCheckable(true);

        FormStorage1 = std::make_unique<TFormStorageHook>(*this, [this](const std::function<void()>& run) {
            try {
                run();
            } catch (const std::exception& error) {
                Errors << QString::fromUtf8(error.what());
            }
        });
        const auto flag = [](bool& holder) {
            return BooleanProperty([&holder] { return holder; }, [&holder](bool v) { holder = v; });
        };
        const auto folder = [](QString& holder) {
            return FolderProperty([&holder] { return holder; }, [&holder](const QString& v) { holder = v; });
        };
        TFormStorage& storage = FormStorage1->Storage();
        storage.AddStoredProperty("OpenDialog1.InitialDir", folder(OpenDir));
        storage.AddStoredProperty("SaveDialog1.InitialDir", folder(SaveDir));
        storage.AddStoredProperty("Splitter1.Maximized", flag(SplitterMaximized));
        storage.AddStoredProperty("Splitter1.Minimized", flag(SplitterMinimized));
        storage.AddStoredProperty("ToolBarTV.Maximized", flag(ToolBarTVMaximized));
        storage.AddStoredProperty("ToolBarMemo.Maximized", flag(ToolBarMemoMaximized));
        storage.AddStoredProperty("IconComboBox.Text", ComboBoxTextProperty(IconComboBox), IconComboBox);
        storage.AddStoredProperty("Memo1.Font", EditorFontProperty(Memo1), Memo1);
        storage.AddStoredProperty("actViewWordWrap.Checked", CheckedProperty(actViewWordWrap), actViewWordWrap);
        storage.AddStoredProperty("miWordWrap.Checked", CheckedProperty(actViewWordWrap), actViewWordWrap);
        storage.AddStoredProperty("Memo1.WordWrap", WordWrapProperty(Memo1), Memo1);
        storage.AddStoredProperty("Memo1.ScrollBars", ScrollBarsProperty(Memo1), Memo1);
    }

    void Start()
    {
        show();
        QApplication::processEvents();
    }

protected:
    void closeEvent(QCloseEvent* event) override { event->setAccepted(AllowClose); }
};

// The design frame (client 438 x 315 and a 2-pixel border) centred on the
// offscreen platform's 800 x 800 screen.
const QMap<QString, QString> FirstSave = FirstSaveValues("179,240,621,559");

QStringList Lines(const QMap<QString, QString>& values)
{
    QStringList lines;
    for (auto i = values.begin(); i != values.end(); ++i)
        lines << i.key() + "=\"" + i.value() + '"';
    return lines;
}

} // namespace

TEST(WindowSettings, FirstCloseWritesEveryValueAsText)
{
    TSettingsFolder folder;
    TTestWindow window;
    window.Start();
    EXPECT_TRUE(folder.Bytes().isEmpty());
    EXPECT_TRUE(window.close());
    EXPECT_EQ(folder.Values(), FirstSave);
    EXPECT_TRUE(window.Errors.isEmpty());
}

TEST(WindowSettings, AFileWrittenByTheProgramReadsBackIdentically)
{
    TSettingsFolder folder;
    QMap<QString, QString> values = FirstSave;
    const QMap<QString, QString> changed = {
        {"Flags", "1"}, {"MinMaxPos(800x800)", "5,6,-2,-2"}, {"MinMaxPos", "5,6,-2,-2"},
        {"NormPos(800x800)", "50,60,550,460"}, {"NormPos", "50,60,550,460"},
        {"OpenDialog1_InitialDir", "/home/me/notes"}, {"SaveDialog1_InitialDir", "/tmp"},
        {"Splitter1_Maximized", "True"}, {"ToolBarMemo_Maximized", "False"}, {"IconComboBox_Text", "17"},
        {"Memo1_FontCharset", "204"}, {"Memo1_FontColor", "255"}, {"Memo1_FontHeight", "-16"},
        {"Memo1_FontName", "Liberation Mono"}, {"Memo1_FontPitch", "fpFixed"}, {"Memo1_FontSize", "12"},
        {"Memo1_FontStyle", "[fsBold,fsUnderline]"}, {"actViewWordWrap_Checked", "True"},
        {"miWordWrap_Checked", "True"}, {"Memo1_WordWrap", "True"}, {"Memo1_ScrollBars", "ssVertical"}};
    for (auto i = changed.begin(); i != changed.end(); ++i)
        values[i.key()] = i.value();
    folder.Write(Lines(values));
    {
        TTestWindow window;
        window.Start();
        EXPECT_TRUE(window.Memo1->font().fixedPitch());
        window.close();
    }
    EXPECT_EQ(folder.Values(), values);
}

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

TEST(WindowSettings, ARefusedCloseWritesNothingAndDestructionSavesOnce)
{
    TSettingsFolder folder;
    folder.Write({"NormPos=\"50,60,550,460\""});
    const QByteArray before = folder.Bytes();
    {
        TTestWindow window;
        window.Start();
        window.AllowClose = false;
        EXPECT_FALSE(window.close());
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(folder.Bytes(), before);
    }
    EXPECT_EQ(folder.Values().value("Visible"), "1");
}

TEST(WindowSettings, AFailedSaveShowsTheErrorLetsTheWindowCloseAndTriesAgainAtDestruction)
{
    TSettingsFolder folder;
    folder.BlockWithAFile();
    const QString message = "Failed to set data for '" + TRegIniFile("Vek", "VekTreeViewEditor").FileName() + "'";
    QStringList errors;
    {
        TTestWindow window;
        window.Start();
        EXPECT_TRUE(window.close());
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(window.Errors, QStringList{message});
        window.FormStorage1.reset();
        errors = window.Errors;
    }
    EXPECT_EQ(errors, QStringList({message, message}));
}
