#include "document/protectedfile.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "tests/filetestkit.h"

#include <gtest/gtest.h>

#include <string>

#include <sys/stat.h>

namespace {

struct ToolRun {
    int exitCode;
    std::string out;
    std::string err;
};

class TrdTool : public TTempFolderTest {
protected:
    // `input` is a shell command piped into the tool. The language is the
    // test's, whatever the desktop's or the user's settings say.
    ToolRun Tool(const std::string& arguments, const std::string& redirect = "", const std::string& input = "",
                 const std::string& language = "C") const
    {
        const int code = RunCommand((input.empty() ? "" : input + " | ") + "env XDG_CONFIG_HOME='" + m_dir.string() +
                                    "' LANGUAGE=" + language + " '" TRDTOOL_PATH "' " + arguments +
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
    for (const char* name : {"pw", "wrong"})
        ::chmod(Path(name).c_str(), 0600);
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

// The user's language: the tool's own texts and the lower layers' messages.
TEST_F(TrdTool, SpeaksGerman)
{
    TTreeList tree;
    tree.AddItem();
    SaveItems(tree, Path("t.trd"));
    WriteFile(Path("pw"), "pw\n");
    ::chmod(Path("pw").c_str(), 0644);
    struct Case {
        std::string arguments;
        int exitCode;
        std::string out;
        std::string errStart;
    };
    const Case cases[] = {
        {"--help", 0, "Aufruf: trdtool [--password-file PWDATEI] BEFEHL ARGUMENTE\n", ""},
        {"check", 2, "", "Aufruf: trdtool [--password-file PWDATEI] BEFEHL ARGUMENTE\n"},
        {"export doc a b", 2, "", "Aufruf: trdtool export txt|ini|multi|opml|md|html DATEI ZIEL\n"},
        {"check '" + Path("t.trd") + "'", 0, "1 Element, aktuelle Variante\n", ""},
        {"check '" VEK_TEST_DATA "/fuzz/old-variant.trd'", 0, "3 Elemente, alte Variante\n", ""},
        {"dump '" + Path("missing.trd") + "'", 1, "",
         "Die Datei " + Path("missing.trd") + " kann nicht geöffnet werden.\n"},
        {"dump '" + Path("\xE9.trd") + "'", 1, "", "Cannot open file " + Path("\xE9.trd") + ".\n"},
        {"--password-file '" + Path("pw") + "' decrypt '" + Path("t.trd") + "' '" + Path("x.trd") + "'", 1, "",
         "Warnung: Nicht nur Sie können die Passwortdatei " + Path("pw") + " lesen.\n" + Path("t.trd") +
             " ist nicht durch ein Passwort geschützt.\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Tool(c.arguments, "", "", "de");
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(run.out.substr(0, c.out.size()), c.out) << c.arguments;
        EXPECT_EQ(run.err.substr(0, c.errStart.size()), c.errStart) << c.arguments;
        EXPECT_EQ(run.out.empty(), c.out.empty()) << c.arguments;
        EXPECT_EQ(run.err.empty(), c.errStart.empty()) << c.arguments;
    }
    // The settings' choice comes before the desktop's.
    std::filesystem::create_directories(m_dir / "Vek");
    WriteFile(m_dir / "Vek" / "VekTreeViewEditor.conf", "[Translation]\nLanguage=de\n");
    EXPECT_EQ(Tool("check '" + Path("t.trd") + "'").out, "1 Element, aktuelle Variante\n");
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

// Only a regular file or a pipe of at most 1 KiB; anything else ends the run
// with 2 before the protected file is touched.
TEST_F(TrdTool, PasswordFileKinds)
{
    TTreeList tree;
    tree.AddItem()->SetText(TreeListColumnName, "n");
    SaveItems(tree, Path("p.trd"), TFileKey::Create("pw", {1, 8 << 10, 64}).get());
    WriteFile(Path("private"), "pw\nrest\n");
    WriteFile(Path("shared"), "pw\n");
    WriteFile(Path("full"), "pw\n" + std::string(1021, 'x'));
    WriteFile(Path("over"), "pw\n" + std::string(1022, 'x'));
    for (const char* name : {"private", "full", "over"})
        ::chmod(Path(name).c_str(), 0600);
    ::chmod(Path("shared").c_str(), 0644);
    const std::string ok = "1 items, protected\n";
    struct Case {
        std::string input;  // piped in, read as /dev/stdin
        std::string file;
        int exitCode;
        std::string err;
    };
    const Case cases[] = {
        {"", Path("private"), 0, ""},
        {"", Path("full"), 0, ""},
        {"", Path("shared"), 0, "Warning: others than you can read the password file " + Path("shared") + ".\n"},
        {"printf 'pw\\n'", "/dev/stdin", 0, ""},
        {"printf 'pw'", "/dev/stdin", 0, ""},
        {"", "/dev/zero", 2, "The password file /dev/zero is neither a regular file nor a pipe.\n"},
        {"", "/dev/null", 2, "The password file /dev/null is neither a regular file nor a pipe.\n"},
        {"", m_dir.string(), 2, "The password file " + m_dir.string() + " is neither a regular file nor a pipe.\n"},
        {"", Path("over"), 2, "The password file " + Path("over") + " is larger than 1 KiB.\n"},
        {"head -c 2000 /dev/zero", "/dev/stdin", 2, "The password file /dev/stdin is larger than 1 KiB.\n"},
        {"", Path("missing"), 2, "Cannot read the password file " + Path("missing") + ".\n"},
        {"true", "/dev/stdin", 2, "Cannot read the password file /dev/stdin.\n"},
    };
    for (const Case& c : cases) {
        const ToolRun run = Tool("--password-file '" + c.file + "' check '" + Path("p.trd") + "'", "", c.input);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.input << " " << c.file;
        EXPECT_EQ(run.err, c.err) << c.input << " " << c.file;
        EXPECT_EQ(run.out, c.exitCode == 0 ? ok : "") << c.input << " " << c.file;
    }

    // Encrypting a protected file needs the password twice; a pipe gives it once.
    const ToolRun encrypt = Tool("--password-file /dev/stdin encrypt '" + Path("p.trd") + "' '" + Path("q.trd") + "'",
                                 "", "printf 'pw\\n'");
    EXPECT_EQ(encrypt.exitCode, 0) << encrypt.err;
    EXPECT_EQ(Tool("--password-file '" + Path("private") + "' check '" + Path("q.trd") + "'").out, ok);
}

}  // namespace
