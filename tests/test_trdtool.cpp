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

TEST_F(TrdTool, UsageErrorsExitWithTwo)
{
    for (const char* arguments : {"", "dump", "frobnicate x", "check a b"}) {
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments;
        EXPECT_NE(run.err.find("Usage: trdtool"), std::string::npos) << arguments;
        EXPECT_EQ(run.out, "") << arguments;
    }
}

}  // namespace
