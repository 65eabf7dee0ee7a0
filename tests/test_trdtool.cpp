#include "document/treefile.h"
#include "document/treelist.h"
#include "tests/filetestkit.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

class TrdTool : public TTempFolderTest {
protected:
    ToolRun Tool(const std::string& arguments, const std::string& redirect = "") const
    {
        const int code = RunCommand("'" TRDTOOL_PATH "' " + arguments +
                                    (redirect.empty() ? " >'" + Path("out") + "' 2>'" + Path("err") + "'" : redirect));
        return {code, ReadFile(Path("out")), ReadFile(Path("err"))};
    }
};

TEST_F(TrdTool, DumpsItemsInDocumentOrderWithEscapes)
{
    TTreeList tree;
    TTreeListTextNode* a = tree.AddItem();
    a->SetImageIndex(3);
    a->SetText(TreeListColumnName, "A \"q\"");
    a->SetText(TreeListColumnDesc, std::string("l1\r\nl2\t\\ \x01\x7F\xE9", 12));
    TTreeListTextNode* b = a->AddChild();
    b->SetStateIndex(2);
    b->SetData(-7);
    b->SetText(TreeListColumnName, "B");
    b->AddChild();
    tree.AddItem()->SetText(TreeListColumnDesc, "only desc");
    SaveItems(tree, Path("t.trd"));

    const ToolRun run = Tool("dump '" + Path("t.trd") + "'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "3 -1 0 2 \"A \\\"q\\\"\" \"l1\\r\\nl2\\t\\\\ \\x01\\x7F\\xE9\"\n"
              "  0 2 -7 1 \"B\" \"\"\n"
              "    0 -1 0 0 \"\" \"\"\n"
              "0 -1 0 2 \"\" \"only desc\"\n");

    const ToolRun check = Tool("check '" + Path("t.trd") + "'");
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.out, "4 items, current variant\n");
}

TEST_F(TrdTool, ChecksOldVariant)
{
    const ToolRun run = Tool("check '" VEK_TEST_DATA "/fuzz/old-variant.trd'");
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "3 items, old variant\n");
}

TEST_F(TrdTool, FailuresShowTheErrorBoxMessage)
{
    WriteFile(Path("cut.trd"), std::string("\xFF\xFF\xFF\xFF\x01\x00\x00\x00\x18", 9));
    for (const char* command : {"dump", "check"}) {
        const ToolRun run = Tool(std::string(command) + " '" + Path("cut.trd") + "'");
        EXPECT_EQ(run.exitCode, 1) << command;
        EXPECT_EQ(run.err, "Stream read error: " + Path("cut.trd") + ".\n") << command;
    }
    const ToolRun missing = Tool("dump '" + Path("missing.trd") + "'");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Cannot open file " + Path("missing.trd") + ".\n");
}

TEST_F(TrdTool, OutputThatCannotBeWrittenFails)
{
    TTreeList tree;
    // Escaped, the description alone fills more than the tool's 1 MiB buffer.
    tree.AddItem()->SetText(TreeListColumnDesc, std::string(size_t(1) << 19, '\x01'));
    SaveItems(tree, Path("t.trd"));
    for (const std::string& arguments : {"dump '" + Path("t.trd") + "'", "check '" + Path("t.trd") + "'",
                                        std::string("--help")})
        EXPECT_EQ(Tool(arguments, " >/dev/full 2>/dev/null").exitCode, 1) << arguments;
}

// The password comes from a file; the terminal is not asked.
TEST_F(TrdTool, EncryptsReadsAndDecryptsWithAPasswordFile)
{
    TTreeList tree;
    tree.AddItem()->SetText(TreeListColumnName, "secret name");
    tree.TopItem(0)->SetText(TreeListColumnDesc, "secret text");
    SaveItems(tree, Path("clear.trd"));
    WriteFile(Path("pw"), "pass word\nignored\n");
    WriteFile(Path("wrong"), "pass\n");
    const std::string pw = "--password-file '" + Path("pw") + "' ";

    ASSERT_EQ(Tool(pw + "encrypt '" + Path("clear.trd") + "' '" + Path("p.trd") + "'").exitCode, 0);
    EXPECT_EQ(ReadFile(Path("p.trd")).find("secret"), std::string::npos);
    const ToolRun check = Tool(pw + "check '" + Path("p.trd") + "'");
    EXPECT_EQ(check.exitCode, 0);
    EXPECT_EQ(check.out, "1 items, protected\n");
    EXPECT_EQ(Tool(pw + "dump '" + Path("p.trd") + "'").out, "0 -1 0 2 \"secret name\" \"secret text\"\n");
    ASSERT_EQ(Tool(pw + "export txt '" + Path("p.trd") + "' '" + Path("p.txt") + "'").exitCode, 0);
    EXPECT_NE(ReadFile(Path("p.txt")).find("secret text"), std::string::npos);

    ASSERT_EQ(Tool(pw + "decrypt '" + Path("p.trd") + "' '" + Path("back.trd") + "'").exitCode, 0);
    EXPECT_EQ(ReadFile(Path("back.trd")), ReadFile(Path("clear.trd")));

    const ToolRun wrong = Tool("--password-file '" + Path("wrong") + "' dump '" + Path("p.trd") + "'");
    EXPECT_EQ(wrong.exitCode, 1);
    EXPECT_EQ(wrong.err, "Cannot open file " + Path("p.trd") + ": the password is wrong or the file is damaged.\n");
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(Tool(pw + "decrypt '" + Path("clear.trd") + "' '" + Path("x.trd") + "'").exitCode, 1);
}

TEST_F(TrdTool, UsageErrorsExitWithTwo)
{
    for (const char* arguments : {"", "dump", "frobnicate x", "check a b", "encrypt a", "--password-file"}) {
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("Usage: trdtool"), std::string::npos) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

}  // namespace
