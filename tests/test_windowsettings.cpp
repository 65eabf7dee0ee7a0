#include "tests/apptestkit.h"

#include "app/panes/collapsesplitter.h"
#include "app/panes/collapsetoolbar.h"
#include "settings/reginifile.h"

#include <QAction>
#include <QDir>
#include <QSettings>
#include <QToolButton>

namespace {
// Every value of a first save on the offscreen platform's 800 x 800 screen at
// 96 pixels per inch: the window's size (442 x 319 and a 2-pixel border)
// centred on the screen, every view setting as designed.
const QMap<QString, QString> FirstSave = {
    {"FormVersion", "0"}, {"Flags", "0"}, {"ShowCmd", "1"}, {"PixelsPerInch", "96"},
    {"MinMaxPos(800x800)", "-1,-1,-2,-2"}, {"MinMaxPos", "-1,-1,-2,-2"},
    {"NormPos(800x800)", "177,238,623,561"}, {"NormPos", "177,238,623,561"}, {"Visible", "0"},
    {"OpenDialog1_InitialDir", ""}, {"SaveDialog1_InitialDir", ""},
    {"Splitter1_Maximized", "False"}, {"Splitter1_Minimized", "False"},
    {"ToolBarTV_Maximized", "True"}, {"ToolBarMemo_Maximized", "True"}, {"IconComboBox_Text", "0"},
    {"Memo1_FontCharset", "0"}, {"Memo1_FontColor", "-2147483640"}, {"Memo1_FontHeight", "-13"},
    {"Memo1_FontName", "Courier New"}, {"Memo1_FontPitch", "fpDefault"}, {"Memo1_FontSize", "10"},
    {"Memo1_FontStyle", "[]"}, {"actViewWordWrap_Checked", "False"}, {"miWordWrap_Checked", "False"},
    {"Memo1_WordWrap", "False"}, {"Memo1_ScrollBars", "ssBoth"}};
}  // namespace

class WindowSettingsTest : public WindowTest {
protected:
    static void Close(std::unique_ptr<TfrmTreeViewEditorMain>& window)
    {
        EXPECT_TRUE(window->close());
        window.reset();
    }
};

TEST_F(WindowSettingsTest, TheFirstCloseWritesEveryValueAsText)
{
    auto window = MakeWindow();
    EXPECT_TRUE(m_settings.Bytes().isEmpty());
    Close(window);
    EXPECT_EQ(m_settings.Values(), FirstSave);
    EXPECT_TRUE(m_prompter->errors.isEmpty());
}

// Every setting the user can change comes back in the next run, and the
// next close writes what it read.
TEST_F(WindowSettingsTest, ARestartRestoresEverySetting)
{
    const QColor red(255, 0, 0);
    auto window = MakeWindow();
    window->FileDialogs().OpenDialog1().SetInitialDir(Path("opened"));
    window->FileDialogs().SaveDialog1().SetInitialDir(Path("saved"));
    window->findChild<QToolButton*>("BtnTreeViewHeader")->click();
    window->ToolBarTV()->SetMaximized(false);
    window->ToolBarMemo()->SetMaximized(false);
    window->IconComboBox()->setEditText("17");
    QFont font("Liberation Mono");
    font.setPointSize(12);
    font.setBold(true);
    window->Memo1()->setFont(font);
    QPalette palette = window->Memo1()->palette();
    palette.setColor(QPalette::Text, red);
    window->Memo1()->setPalette(palette);
    Run(*window, TActionId::actViewWordWrap);
    window->setGeometry(60, 70, 500, 400);
    Close(window);
    const QMap<QString, QString> saved = m_settings.Values();
    EXPECT_EQ(saved.value("NormPos"), "58,68,562,472");

    window = MakeWindow();
    EXPECT_EQ(window->geometry(), QRect(60, 70, 500, 400));
    EXPECT_EQ(window->FileDialogs().OpenDialog1().InitialDir(), Path("opened"));
    EXPECT_EQ(window->FileDialogs().SaveDialog1().InitialDir(), Path("saved"));
    EXPECT_TRUE(window->Splitter1()->Maximized());
    EXPECT_EQ(window->Splitter1()->widget(0)->width(), 1);
    EXPECT_FALSE(window->ToolBarTV()->Maximized());
    EXPECT_FALSE(window->ToolBarMemo()->Maximized());
    EXPECT_EQ(window->IconComboBox()->currentText(), "17");
    const QFont restored = window->Memo1()->font();
    EXPECT_EQ(restored.family() + QString::number(restored.pixelSize()) + (restored.bold() ? "bold" : ""),
              "Liberation Mono16bold");
    EXPECT_EQ(window->Memo1()->palette().color(QPalette::Text), red);
    EXPECT_TRUE(Action(*window, TActionId::actViewWordWrap)->isChecked());
    EXPECT_EQ(window->Memo1()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    EXPECT_EQ(window->Memo1()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    EXPECT_EQ(window->Memo1()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    Close(window);
    EXPECT_EQ(m_settings.Values(), saved);
}

// The settings are in place before the command-line document opens, and
// the icon picker's restored text changes no item.
TEST_F(WindowSettingsTest, SettingsComeBeforeTheCommandLineDocument)
{
    m_settings.Write({"Splitter1_Minimized=true", "IconComboBox_Text=17"});
    WriteBytes(Path("notes.trd"), WorkedExampleBytes());
    auto window = MakeWindow({Path("notes.trd")});
    EXPECT_TRUE(window->Splitter1()->Minimized());
    EXPECT_FALSE(window->Splitter1()->Maximized());
    EXPECT_EQ(window->TreeList().TopItem(0)->ImageIndex(), 3);
    EXPECT_EQ(window->windowTitle(), "notes.trd - VekTreeViewEditor");
    EXPECT_EQ(window->StatusPanelText(1), QString());
}

TEST_F(WindowSettingsTest, ARefusedCloseWritesNothing)
{
    m_settings.Write({"IconComboBox_Text=5"});
    const QByteArray before = m_settings.Bytes();
    auto window = MakeWindow();
    Run(*window, TActionId::actEditItemNew);
    m_prompter->answers = {QMessageBox::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_EQ(m_settings.Bytes(), before);
    // Destroyed without a close, the window saves once more.
    window.reset();
    EXPECT_EQ(m_settings.Values().value("Visible"), "1");
}

// A rectangle off every screen is not applied; the rest is restored.
TEST_F(WindowSettingsTest, ALostScreenRestoresTheRest)
{
    m_settings.Write({"NormPos=5000,5000,5500,5400", "IconComboBox_Text=9"});
    auto window = MakeWindow();
    EXPECT_EQ(window->frameGeometry(), QRect(150, 200, 500, 400));
    EXPECT_EQ(window->IconComboBox()->currentText(), "9");
}

TEST_F(WindowSettingsTest, AFailedSaveShowsTheErrorAndTheWindowStillCloses)
{
    m_settings.BlockWithAFile();
    const QStringList error = {"Failed to set data for '" + TRegIniFile("Vek", "VekTreeViewEditor").FileName() + "'"};
    auto window = MakeWindow();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_prompter->errors, error);
    window.reset();
    EXPECT_EQ(m_prompter->errors, error + error);
}

// The dialogs start in the folder last used, also after a restart, and in
// the folder the settings give once that one is gone; what the settings give
// is written back as it was read.
TEST_F(WindowSettingsTest, DialogsStartInTheLastFolderUsed)
{
    QDir(m_dir.path()).mkpath("notes, 2026");
    const QString given = Path("given");
    m_settings.Write({"OpenDialog1_InitialDir=" + given});
    WriteBytes(Path("notes, 2026/a.trd"), WorkedExampleBytes());
    auto window = MakeWindow();
    m_prompter->files = {Path("notes, 2026/a.trd")};
    Run(*window, TActionId::actFileOpen);
    ASSERT_NE(window->TreeList().TopItem(0), nullptr);
    Close(window);
    EXPECT_EQ(m_settings.Values().value("OpenDialog1_InitialDir"), given);
    EXPECT_EQ(QSettings(m_settings.ConfPath(), QSettings::IniFormat).value("LastFolders/OpenDialog1").toString(),
              Path("notes, 2026"));

    window = MakeWindow();
    EXPECT_EQ(window->FileDialogs().OpenDialog1().StartPath(), Path("notes, 2026"));
    EXPECT_EQ(window->FileDialogs().SaveDialog1().StartPath(), "");
    Close(window);
    QDir(Path("notes, 2026")).removeRecursively();
    window = MakeWindow();
    EXPECT_EQ(window->FileDialogs().OpenDialog1().StartPath(), given);
    Close(window);
}
