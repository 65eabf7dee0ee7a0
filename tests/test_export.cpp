#include "apptestkit.h"

#include "exchange/exportwriters.h"

#include <QAction>
#include <QDir>
#include <QGuiApplication>

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

struct TSingleExport {
    const char* name;
    const char* action;
    std::string expected;
};

class SingleFileExport : public WindowTest, public ::testing::WithParamInterface<TSingleExport> {};

TEST_P(SingleFileExport, WritesTheWholeTreeAndLeavesItExpanded)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    ASSERT_FALSE(window->TreeList().TopItem(0)->Expanded());
    m_prompter->files = {Path("out.txt")};
    Run(*window, GetParam().action);
    EXPECT_EQ(ReadBytes(Path("out.txt")), GetParam().expected);
    EXPECT_EQ(m_prompter->dialogs, QStringList{QStringLiteral("save:txt:")});
    EXPECT_TRUE(window->TreeList().TopItem(0)->Expanded());
    EXPECT_FALSE(window->Modified());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleFileExport,
    ::testing::Values(TSingleExport{"text", "actFileExportTxt",
                                    "Tools\r\n=====\r\nhammer\r\nsaw\r\n\r\n\r\n\r\n\r\n\r\n"
                                    "Misc\r\n====\r\n\r\n\r\n\r\n\r\n\r\n\r\n"},
                      TSingleExport{"ini", "actFileExportIni", "[Tools]\r\nhammer\r\nsaw\r\n\r\n[Misc]\r\n\r\n\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WindowTest, AFailedExportShowsTheErrorAndRestoresTheCursor)
{
    auto window = MakeWindow();
    BuildTools(window->TreeList());
    m_prompter->files = {Path("missing/out.txt")};
    Run(*window, "actFileExportTxt");
    EXPECT_EQ(m_prompter->errors, QStringList{QStringLiteral("Invalid filename: %1.").arg(Path("missing/out.txt"))});
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, MultipleFilesGoToTheChosenFolderStartingAtTheLastFolderUsed)
{
    WriteBytes(Path("doc.trd"), WorkedExampleBytes());
    auto window = MakeWindow();
    m_prompter->files = {Path("doc.trd")};
    Run(*window, "actFileOpen");

    // Cancelling the folder dialog writes nothing.
    m_prompter->folders = {QString()};
    Run(*window, "actFileExportMulti");
    EXPECT_EQ(m_prompter->lastFolderStart, m_dir.path());
    EXPECT_FALSE(QFile::exists(Path("A.txt")));

    QDir(m_dir.path()).mkdir(QStringLiteral("out"));
    m_prompter->folders = {Path("out")};
    Run(*window, "actFileExportMulti");
    EXPECT_EQ(ReadBytes(Path("out/A.txt")), "x\r\n");
    EXPECT_EQ(ReadBytes(Path("out/B.txt")), "\r\n");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, ExportsAreDisabledForAnEmptyTree)
{
    auto window = MakeWindow();
    window->UpdateActions();
    for (const char* name : {"actFileExportTxt", "actFileExportIni", "actFileExportMulti"})
        EXPECT_FALSE(window->Action(QString::fromLatin1(name))->isEnabled()) << name;
    BuildTools(window->TreeList());
    window->UpdateActions();
    for (const char* name : {"actFileExportTxt", "actFileExportIni", "actFileExportMulti"})
        EXPECT_TRUE(window->Action(QString::fromLatin1(name))->isEnabled()) << name;
}
