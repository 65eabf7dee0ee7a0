#include "exchange/treeimport.h"

#include "document/fileio.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "exchange/indentedtext.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <system_error>

namespace {

std::string Reason(int error)
{
    return std::generic_category().message(error);
}

class TFileSource : public TByteSource {
public:
    explicit TFileSource(const std::string& path)
        : m_path(path), m_file(OpenFile(path, O_RDONLY | O_CLOEXEC | O_NOCTTY))
    {
        if (!m_file.IsOpen())
            throw EFOpenError("Cannot open file " + path + ": " + Reason(errno));
    }

    size_t Read(char* buffer, size_t size) override
    {
        for (;;) {
            const ssize_t got = ::read(m_file.Get(), buffer, size);
            if (got >= 0)
                return static_cast<size_t>(got);
            if (errno != EINTR)
                throw EImportError(m_path, 0, 0, Reason(errno));
        }
    }

private:
    std::string m_path;
    TFileHandle m_file;
};

std::string LowerExtension(const std::string& path)
{
    const size_t slash = path.rfind('/');
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string ext = path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

TImportFormat FormatOfContent(std::string_view head)
{
    if (head.find('\0') != std::string_view::npos)
        return TImportFormat::TreeData;
    if (head.substr(0, 3) == "\xEF\xBB\xBF")
        head.remove_prefix(3);
    const size_t first = head.find_first_not_of(" \t\r\n");
    if (first != std::string_view::npos && head[first] == '<')
        return TImportFormat::Opml;
    for (size_t line = 0; line < head.size(); line = head.find('\n', line) + 1) {
        if (head[line] == '#')
            return TImportFormat::Markdown;
        if (head.find('\n', line) == std::string_view::npos)
            break;
    }
    return TImportFormat::IndentedText;
}

}  // namespace

bool ImportFormatOfWord(std::string_view word, TImportFormat& format)
{
    if (word == "opml")
        format = TImportFormat::Opml;
    else if (word == "md")
        format = TImportFormat::Markdown;
    else if (word == "txt")
        format = TImportFormat::IndentedText;
    else if (word == "trd")
        format = TImportFormat::TreeData;
    else
        return false;
    return true;
}

TImportFormat ImportFormatOfFile(const std::string& path)
{
    const std::string ext = LowerExtension(path);
    if (ext == "opml")
        return TImportFormat::Opml;
    if (ext == "md" || ext == "markdown")
        return TImportFormat::Markdown;
    if (ext == "txt")
        return TImportFormat::IndentedText;
    if (ext == "trd")
        return TImportFormat::TreeData;
    try {
        TFileSource source(path);
        std::string head(8192, '\0');
        size_t size = 0;
        while (size < head.size()) {
            const size_t got = source.Read(head.data() + size, head.size() - size);
            if (got == 0)
                break;
            size += got;
        }
        head.resize(size);
        return FormatOfContent(head);
    } catch (const std::runtime_error&) {
        return TImportFormat::IndentedText;
    }
}

void ImportFile(TTreeList& tree, const std::string& path, TImportFormat format, const TImportLimits& limits)
{
    if (format == TImportFormat::TreeData) {
        // The loader replaces a tree's content: it loads into one of its own.
        TTreeList loaded;
        try {
            LoadItems(loaded, path);
        } catch (const EFOpenError&) {
            throw;
        } catch (const std::bad_alloc&) {
            throw;
        } catch (const EReadError&) {
            // The import's message names the file already.
            throw EImportError(path, 0, 0, EReadError().what());
        } catch (const std::exception& e) {
            throw EImportError(path, 0, 0, e.what());
        }
        tree.AppendItemsFrom(loaded);
        return;
    }
    TFileSource source(path);
    try {
        switch (format) {
        case TImportFormat::Opml:
            ReadOpml(tree, source, limits);
            break;
        case TImportFormat::Markdown:
            ReadMarkdown(tree, source, limits);
            break;
        case TImportFormat::IndentedText:
        case TImportFormat::TreeData:
            ReadIndentedText(tree, ReadWhole(source, limits.MaxInputBytes), limits);
            break;
        }
    } catch (const EImportError& e) {
        if (!e.FileName().empty())
            throw;
        throw e.InFile(path);
    }
}
