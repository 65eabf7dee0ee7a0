// trdtool: inspects tree data files from the command line.

#include "about/version.h"
#include "document/errortext.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "tools/exportcommand.h"
#include "tools/importcommand.h"

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

// Add a line here for every entry of Commands below.
const char Usage[] =
    "Usage: trdtool COMMAND ARGUMENTS\n"
    "       trdtool --help | --version\n"
    "\n"
    "Commands:\n"
    "  dump FILE    print every item in document order\n"
    "  check FILE   print the number of items and the file variant\n";

void PrintUsage(std::FILE* to)
{
    std::fputs(Usage, to);
    std::fputs(ExportCommandHelp, to);
    std::fputs(ImportCommandHelp, to);
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

// Visits every item in document order with its depth, without recursion
// (files may nest very deeply).
template <typename F> void ForEachItem(const TTreeList& tree, F&& visit)
{
    struct Frame {
        const TTreeListNode* parent;
        int next;
    };
    std::vector<Frame> stack;
    for (int i = 0; i < tree.TopItemCount(); ++i) {
        const TTreeListTextNode* top = tree.TopItem(i);
        visit(*top, 0);
        stack.push_back({top, 0});
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next >= frame.parent->Count()) {
                stack.pop_back();
                continue;
            }
            const TTreeListTextNode* child = frame.parent->Child(frame.next++);
            visit(*child, static_cast<int>(stack.size()));
            stack.push_back({child, 0});
        }
    }
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
    LoadItems(tree, fileName);
    std::string out;
    ForEachItem(tree, [&](const TTreeListTextNode& item, int depth) {
        out.append(static_cast<size_t>(depth) * 2, ' ');
        out += std::to_string(item.ImageIndex()) + ' ' + std::to_string(item.StateIndex()) + ' ' +
               std::to_string(item.Data()) + ' ' + std::to_string(item.TextCount()) + ' ';
        AppendQuoted(out, item.GetText(TreeListColumnName));
        out += ' ';
        AppendQuoted(out, item.GetText(TreeListColumnDesc));
        out += '\n';
        if (out.size() > (1 << 20))
            Flush(out);
    });
    Flush(out);
    return OutputStatus();
}

int Check(const std::string& fileName)
{
    TTreeList& tree = CommandTree();
    const TTreeFileVariant variant = LoadItems(tree, fileName);
    long long count = 0;
    for (const TTreeListTextNode* item = tree.TopItem(0); item; item = tree.NextInDocument(item))
        ++count;
    std::printf("%lld items, %s variant\n", count, variant == TTreeFileVariant::Current ? "current" : "old");
    return OutputStatus();
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
    {"export", 3, 3, [](const std::vector<std::string>& a) { return RunExportCommand(CommandTree(), a); }},
    {"import", 3, 3, [](const std::vector<std::string>& a) { return RunImportCommand(CommandTree(), a); }},
};

}  // namespace

int main(int argc, char** argv)
{
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
            std::fprintf(stderr, "%s\n", ErrorBoxText(e.what()).c_str());
            return 1;
        }
    }
    return UsageError();
}
