#include "tests/apptestkit.h"

#include "app/window/commandtable.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>

namespace {
void BuildTools(TTreeList& tree)
{
    TTreeListTextNode* tools = tree.AddItem();
    tools->SetText(0, "Tools");
    tools->SetText(1, "hammer\r\nsaw");
    TTreeListTextNode* misc = tools->AddChild();
    misc->SetText(0, "Misc");
}
}  // namespace

class ExportTest : public PartsTest {
protected:
    void SetUp() override
    {
        PartsTest::SetUp();
        Start();
    }
    TTreeList& Tree() { return m_parts->tree; }
    TExportCommands& Exports() { return m_parts->exports; }
};

struct TSingleExport {
    const char* name;
    void (TExportCommands::*command)();
    std::string expected;
};

class SingleFileExport : public ExportTest, public ::testing::WithParamInterface<TSingleExport> {};

TEST_P(SingleFileExport, WritesTheWholeTreeAndLeavesItExpanded)
{
    BuildTools(Tree());
    ASSERT_FALSE(Tree().TopItem(0)->Expanded());
    m_prompter->files = {Path("out.txt")};
    (Exports().*GetParam().command)();
    EXPECT_EQ(ReadBytes(Path("out.txt")), GetParam().expected);
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:txt:")});
    EXPECT_TRUE(Tree().TopItem(0)->Expanded());
    EXPECT_FALSE(m_parts->session.Modified());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleFileExport,
    ::testing::Values(TSingleExport{"text", &TExportCommands::actFileExportTxtExecute,
                                    "Tools\r\n=====\r\nhammer\r\nsaw\r\n\r\n\r\n\r\n\r\n\r\n"
                                    "Misc\r\n====\r\n\r\n\r\n\r\n\r\n\r\n\r\n"},
                      TSingleExport{"ini", &TExportCommands::actFileExportIniExecute, "[Tools]\r\nhammer\r\nsaw\r\n\r\n[Misc]\r\n\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, AFailedExportShowsTheErrorAndRestoresTheCursor)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    m_prompter->files = {Path("missing/out.txt")};
    Run(*window, TActionId::actFileExportTxt);
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Invalid filename: %1.").arg(Path("missing/out.txt"))});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, ANameStillBeingTypedIsExported)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    window->TreeList().TopItem(0)->SetFocused();
    window->TreeList().StartRename();
    auto* editor = qobject_cast<QLineEdit*>(window->TreeListView()->indexWidget(window->TreeListView()->currentIndex()));
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Kit"));
    m_prompter->files = {Path("out.ini")};
    Run(*window, TActionId::actFileExportIni);
    EXPECT_EQ(ReadBytes(Path("out.ini")).substr(0, 7), "[Kit]\r\n");
}

TEST_F(ExportTest, MultipleFilesGoToTheChosenFolderStartingAtTheLastFolderUsed)
{
    WriteBytes(Path("doc.trd"), WorkedExampleBytes());
    m_prompter->files = {Path("doc.trd")};
    m_parts->session.NewOpenSaveSaveasClose(12);

    // Cancelling the folder dialog writes nothing.
    m_prompter->folders = {QString()};
    Exports().actFileExportMultiExecute();
    EXPECT_EQ(m_prompter->lastFolderStart, m_dir.path());
    EXPECT_FALSE(QFile::exists(Path("A.txt")));

    QDir(m_dir.path()).mkdir(QStringLiteral("out"));
    m_prompter->folders = {Path("out")};
    Exports().actFileExportMultiExecute();
    EXPECT_EQ(ReadBytes(Path("out/A.txt")), "x\r\n");
    EXPECT_EQ(ReadBytes(Path("out/B.txt")), "\r\n");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, ExportsAreDisabledForAnEmptyTree)
{
    auto window = MakeWindow();
    const TActionId exports[] = {TActionId::actFileExportTxt, TActionId::actFileExportIni,
                                 TActionId::actFileExportMulti};
    window->Commands().UpdateActions();
    for (TActionId id : exports)
        EXPECT_FALSE(Action(*window, id)->isEnabled()) << Action(*window, id)->objectName().toStdString();
    BuildTools(window->TreeList());
    window->Commands().UpdateActions();
    for (TActionId id : exports)
        EXPECT_TRUE(Action(*window, id)->isEnabled()) << Action(*window, id)->objectName().toStdString();
}
