#include "fuzz/exchangeproperties.h"

#include "document/treelist.h"
#include "exchange/indentedtext.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"
#include "exchange/treewalk.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string_view>

namespace {

TImportLimits SmallLimits()
{
    TImportLimits limits;
    limits.MaxTextBytes = 1 << 20;
    limits.MaxDepth = 200;
    limits.MaxInputBytes = 4 << 20;
    limits.MarkdownPartBytes = 64;
    return limits;
}

// Items as text: depth, icon, name and description, each string in UTF-8
// when `utf8`.
std::string Dump(const TTreeList& tree, bool utf8 = false)
{
    std::string out;
    std::string scratch;
    WalkTree(
        tree,
        [&](const TTreeListTextNode& item, int depth) {
            out += std::to_string(depth) + ' ' + std::to_string(item.ImageIndex());
            for (int text = TreeListColumnName; text <= TreeListColumnDesc; ++text) {
                const std::string_view bytes = utf8 ? AsUtf8(item.GetText(text), scratch) : item.GetText(text);
                out += '|' + std::to_string(bytes.size()) + ':';
                out += bytes;
            }
            out += '\n';
        },
        [](const TTreeListTextNode&, int) {});
    return out;
}

// One file for the whole run, written again for each input.
const std::string& ScratchFile()
{
    static const std::string path = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "vekfuzz-XXXXXX").string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            std::abort();
        ::close(fd);
        std::atexit([] { ::unlink(ScratchFile().c_str()); });
        return pattern;
    }();
    return path;
}

using TReader = void (*)(TTreeList&, TByteSource&, const TImportLimits&);
using TWriter = void (*)(const TTreeList&, const std::string&);

// Reads the input; "" with `read` set when it read, "" and `read` unset when
// it was refused with an import error.
std::string ReadInput(TReader reader, const uint8_t* data, size_t size, TTreeList& tree, bool& read)
{
    read = false;
    TMemorySource source(std::string_view(reinterpret_cast<const char*>(data), size));
    try {
        reader(tree, source, SmallLimits());
        read = true;
    } catch (const EImportError& e) {
        if (e.Reason().empty())
            return "an import error without a reason";
    } catch (const std::exception& e) {
        return std::string("not an import error: ") + e.what();
    }
    return "";
}

std::string CheckBack(const TTreeList& tree, const std::string& expected, TWriter writer, TReader reader)
{
    try {
        writer(tree, ScratchFile());
        std::string bytes;
        if (FILE* file = std::fopen(ScratchFile().c_str(), "rb")) {
            char buffer[65536];
            for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
                bytes.append(buffer, got);
            std::fclose(file);
        }
        TTreeList back;
        TMemorySource source(bytes);
        reader(back, source, SmallLimits());
        const std::string got = Dump(back);
        if (got != expected)
            return "the tree read back differs:\n" + expected + "---\n" + got;
    } catch (const std::exception& e) {
        return std::string("writing and reading back failed: ") + e.what();
    }
    return "";
}

void ReadTextInput(TTreeList& tree, TByteSource& source, const TImportLimits& limits)
{
    ReadIndentedText(tree, ReadWhole(source, limits.MaxInputBytes), limits);
}

}  // namespace

std::string CheckOpml(const uint8_t* data, size_t size)
{
    TTreeList tree;
    bool read = false;
    const std::string problem = ReadInput(&ReadOpml, data, size, tree, read);
    if (!problem.empty() || !read)
        return problem;
    return CheckBack(tree, Dump(tree), &ExportOpml, &ReadOpml);
}

std::string CheckMarkdown(const uint8_t* data, size_t size)
{
    TTreeList tree;
    bool read = false;
    const std::string problem = ReadInput(&ReadMarkdown, data, size, tree, read);
    if (!problem.empty() || !read)
        return problem;
    return CheckBack(tree, Dump(tree), &ExportMarkdown, &ReadMarkdown);
}

std::string CheckIndentedText(const uint8_t* data, size_t size)
{
    TTreeList tree;
    bool read = false;
    const std::string problem = ReadInput(&ReadTextInput, data, size, tree, read);
    if (!problem.empty() || !read)
        return problem;
    return CheckBack(tree, Dump(tree, true), &ExportOpml, &ReadOpml);
}
