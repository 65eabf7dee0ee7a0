// trdtool: inspects tree data files from the command line.

#include "app/about/version.h"
#include "document/passwordfile.h"
#include "document/processhardening.h"
#include "document/protectedfile.h"
#include "document/secretbytes.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/treewalk.h"
#include "tools/exportcommand.h"
#include "tools/importcommand.h"
#include "tools/tooltext.h"

#include <QCoreApplication>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// Add a line here for every entry of Commands below.
const char* const Usage = QT_TRANSLATE_NOOP("trdtool",
    "Usage: trdtool [--password-file PWFILE] COMMAND ARGUMENTS\n"
    "       trdtool --help | --version\n"
    "\n"
    "The password of a protected file is asked on the terminal, or is the\n"
    "first line of PWFILE.\n"
    "\n"
    "Commands:\n"
    "  dump FILE    print every item in document order\n"
    "  check FILE   print the number of items and the file variant\n"
    "  encrypt IN OUT\n"
    "               write IN protected by a new password as OUT\n"
    "  decrypt IN OUT\n"
    "               write the protected IN without protection as OUT\n");

void PrintUsage(std::FILE* to)
{
    for (const char* text : {Usage, ExportCommandHelp, ImportCommandHelp})
        std::fputs(ToolText(text).c_str(), to);
}

int UsageError()
{
    PrintUsage(stderr);
    return 2;
}

void AppendQuoted(std::string& out, std::string_view text)
{
    static const char hex[] = "0123456789ABCDEF";
    out += '"';
    for (char ch : text) {
        const auto b = static_cast<unsigned char>(ch);
        switch (b) {
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\\': out += "\\\\"; break;
        case '"': out += "\\\""; break;
        default:
            if (b < 0x20 || b > 0x7E) {
                out += "\\x";
                out += hex[b >> 4];
                out += hex[b & 0x0F];
            } else {
                out += ch;
            }
        }
    }
    out += '"';
}

void Flush(std::string& out)
{
    std::fwrite(out.data(), 1, out.size(), stdout);
    out.clear();
}

// 0 when everything printed reached the output, else 1. A write that failed
// earlier (a full disk) drops its buffer, so the final flush alone succeeds.
int OutputStatus()
{
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// Overwrites a password's bytes before its memory goes back.
void Wipe(std::string& secret)
{
    TSecretBytes::Wipe(secret.data(), secret.size());
    secret.clear();
}

// The password file's first line, read once at start: a pipe can be read
// only once, and a command may need the password twice (encrypt of a
// protected file). Without a password file the terminal is asked.
struct TFilePassword {
    std::optional<std::string> text;
    ~TFilePassword()
    {
        if (text)
            Wipe(*text);
    }
} FilePassword;

// A line typed on the terminal without echo.
std::string AskTerminal(const std::string& prompt)
{
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC | O_NOCTTY);
    if (tty < 0)
        throw std::runtime_error(
            ToolText(QT_TRANSLATE_NOOP("trdtool", "No terminal to ask the password on; use --password-file")));
    termios saved{};
    const bool isTerminal = ::tcgetattr(tty, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        quiet.c_lflag |= ECHONL;
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    (void)!::write(tty, prompt.data(), prompt.size());
    std::string line;
    char c = 0;
    bool ended = false;
    for (;;) {
        const ssize_t got = ::read(tty, &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (c == '\n') {
            ended = true;
            break;
        }
        line += c;
    }
    if (isTerminal)
        ::tcsetattr(tty, TCSAFLUSH, &saved);
    ::close(tty);
    if (!ended) {
        Wipe(line);
        throw std::runtime_error(ToolText(QT_TRANSLATE_NOOP("trdtool", "No password given")));
    }
    return line;
}

std::string Password(const std::string& fileName)
{
    if (FilePassword.text)
        return *FilePassword.text;
    return AskTerminal(ToolText(QT_TRANSLATE_NOOP("trdtool", "Password for %1: "), {fileName}));
}

// A new password: typed twice on the terminal, or the password file's.
std::string NewPassword(const std::string& fileName)
{
    std::string password;
    if (FilePassword.text) {
        password = *FilePassword.text;
    } else {
        password = AskTerminal(ToolText(QT_TRANSLATE_NOOP("trdtool", "New password for %1: "), {fileName}));
        std::string again = AskTerminal(ToolText(QT_TRANSLATE_NOOP("trdtool", "Repeat the password: ")));
        const bool same = again == password;
        Wipe(again);
        if (!same) {
            Wipe(password);
            throw std::runtime_error(ToolText(QT_TRANSLATE_NOOP("trdtool", "The passwords do not match")));
        }
    }
    if (password.empty())
        throw std::runtime_error(ToolText(QT_TRANSLATE_NOOP("trdtool", "The password is empty")));
    return password;
}

// Asks for the password of `fileName` only when the file turns out to be protected.
TKeySource KeySourceFor(const std::string& fileName)
{
    return [fileName](const TProtectionHeader& header) {
        std::string password = Password(fileName);
        try {
            auto key = TFileKey::ForHeader(password, header, fileName);
            Wipe(password);
            return key;
        } catch (...) {
            Wipe(password);
            throw;
        }
    };
}

// The tree of the one command run. It is never freed: the process ends right
// after the command, and the system takes the memory back faster than
// freeing it would.
TTreeList& CommandTree()
{
    static TTreeList* tree = new TTreeList;
    return *tree;
}

int Dump(const std::string& fileName)
{
    TTreeList& tree = CommandTree();
    LoadItems(tree, fileName, KeySourceFor(fileName));
    std::string out;
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int depth) {
            out.append(static_cast<size_t>(depth) * 2, ' ');
            out += std::to_string(item.ImageIndex()) + ' ' + std::to_string(item.StateIndex()) + ' ' +
                   std::to_string(item.Data()) + ' ' + std::to_string(item.TextCount()) + ' ';
            AppendQuoted(out, item.GetText(TreeListColumnName));
            out += ' ';
            AppendQuoted(out, item.GetText(TreeListColumnDesc));
            out += '\n';
            if (out.size() > (1 << 20))
                Flush(out);
        },
        [](const TTreeListTextNode&, int) {});
    Flush(out);
    return OutputStatus();
}

int Check(const std::string& fileName)
{
    TTreeList& tree = CommandTree();
    const TTreeFileVariant variant = LoadItems(tree, fileName, KeySourceFor(fileName));
    long long count = 0;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        ++count;
    // The English plural forms are not installed: the English line keeps the
    // one form scripts have always read ("1 items").
    const char* line = QT_TRANSLATE_N_NOOP("trdtool", "%1 items, old variant");
    if (variant == TTreeFileVariant::Protected)
        line = QT_TRANSLATE_N_NOOP("trdtool", "%1 items, protected");
    else if (variant == TTreeFileVariant::Current)
        line = QT_TRANSLATE_N_NOOP("trdtool", "%1 items, current variant");
    std::puts(ToolCountText(line, count).c_str());
    return OutputStatus();
}

int Encrypt(const std::string& in, const std::string& out)
{
    TTreeList& tree = CommandTree();
    LoadItems(tree, in, KeySourceFor(in));
    std::string password = NewPassword(out);
    std::shared_ptr<const TFileKey> key;
    try {
        key = TFileKey::Create(password);
    } catch (...) {
        Wipe(password);
        throw;
    }
    Wipe(password);
    SaveItems(tree, out, key.get());
    return 0;
}

int Decrypt(const std::string& in, const std::string& out)
{
    TTreeList& tree = CommandTree();
    if (LoadItems(tree, in, KeySourceFor(in)) != TTreeFileVariant::Protected)
        throw std::runtime_error(ToolText(QT_TRANSLATE_NOOP("trdtool", "%1 is not protected by a password"), {in}));
    SaveItems(tree, out);
    return 0;
}

struct Command {
    const char* name;
    int minArguments;  // after the command name
    int maxArguments;
    int (*run)(const std::vector<std::string>& arguments);
};

const Command Commands[] = {
    {"dump", 1, 1, [](const std::vector<std::string>& a) { return Dump(a[0]); }},
    {"check", 1, 1, [](const std::vector<std::string>& a) { return Check(a[0]); }},
    {"export", 3, 3,
     [](const std::vector<std::string>& a) { return RunExportCommand(CommandTree(), a, KeySourceFor(a[1])); }},
    {"encrypt", 2, 2, [](const std::vector<std::string>& a) { return Encrypt(a[0], a[1]); }},
    {"decrypt", 2, 2, [](const std::vector<std::string>& a) { return Decrypt(a[0], a[1]); }},
    {"import", 3, 3, [](const std::vector<std::string>& a) { return RunImportCommand(CommandTree(), a); }},
};

}  // namespace

int main(int argc, char** argv)
{
    DisableCoreDumps();
    // No display needed: only the catalogues, for the texts.
    QCoreApplication application(argc, argv);
    // Qt takes the C library's locale from the environment; the tool's file
    // handling was written for the "C" one.
    std::setlocale(LC_ALL, "C");
    InstallToolLanguage();
    if (argc >= 3 && std::string_view(argv[1]) == "--password-file") {
        const std::string passwordFile = argv[2];
        if (passwordFile.empty())
            return UsageError();
        // Before any other work, so a wrong file cannot leave half a job done.
        try {
            TPasswordFile file = ReadPasswordFile(passwordFile);
            if (file.readableByOthers) {
                const char* const warning =
                    QT_TRANSLATE_NOOP("trdtool", "Warning: others than you can read the password file %1.");
                std::fprintf(stderr, "%s\n", ToolText(warning, {passwordFile}).c_str());
            }
            FilePassword.text = file.password;
            Wipe(file.password);
        } catch (const EPasswordFileError& e) {
            std::fprintf(stderr, "%s\n", ToolErrorText(e.what()).c_str());
            return 2;
        }
        argv += 2;
        argc -= 2;
    }
    if (argc < 2)
        return UsageError();
    const std::string name = argv[1];
    if (argc == 2 && name == "--help") {
        PrintUsage(stdout);
        return OutputStatus();
    }
    if (argc == 2 && name == "--version") {
        std::puts("trdtool " VEK_VERSION);
        return OutputStatus();
    }
    const std::vector<std::string> arguments(argv + 2, argv + argc);
    for (const Command& command : Commands) {
        if (name != command.name)
            continue;
        const auto count = static_cast<int>(arguments.size());
        if (count < command.minArguments || count > command.maxArguments)
            return UsageError();
        try {
            return command.run(arguments);
        } catch (const std::exception& e) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s\n", ToolErrorText(e.what()).c_str());
            return 1;
        }
    }
    return UsageError();
}
