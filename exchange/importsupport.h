#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

class TTreeList;
class TTreeListTextNode;

// What one import may take. Every reader is bounded by these, so a hostile
// file ends in an error instead of exhausting the memory or the stack.
struct TImportLimits {
    // One name or description, one XML tag or text run, one line of text.
    // Expat holds an unfinished tag in a buffer of up to twice this, and its
    // attribute values once more.
    size_t MaxTextBytes = size_t{128} << 20;
    // The levels of items below the top level: deeper outlines are refused.
    int MaxDepth = 100000;
    // The whole input of the readers that hold it, or what they make of it,
    // in memory at once: Markdown (whose parsed document takes a few times
    // the text) and indented text. OPML is read in pieces and not limited.
    size_t MaxInputBytes = size_t{1} << 30;
    // Markdown larger than this is parsed in parts of about this size, each
    // beginning at a top-level heading, so that the parsed text in memory
    // stays small; a link reference definition then serves its own part.
    size_t MarkdownPartBytes = size_t{16} << 20;
};

// A file that cannot be imported: why, and where when a parser found it
// (line and column count from 1; 0 when not known). The message reads
// "Cannot import <file>: line 3, column 7: <reason>".
class EImportError : public std::runtime_error {
public:
    EImportError(std::string fileName, int64_t line, int64_t column, std::string reason);

    const std::string& FileName() const { return m_fileName; }
    int64_t Line() const { return m_line; }
    int64_t Column() const { return m_column; }
    const std::string& Reason() const { return m_reason; }

    // The same error, naming `fileName`: the readers know only bytes.
    EImportError InFile(const std::string& fileName) const;

private:
    static std::string Text(const std::string& fileName, int64_t line, int64_t column, const std::string& reason);

    std::string m_fileName;
    int64_t m_line;
    int64_t m_column;
    std::string m_reason;
};

// Where a reader takes its bytes from: a file, or memory (tests, fuzzing,
// the clipboard).
class TByteSource {
public:
    virtual ~TByteSource() = default;
    // Up to `size` bytes into `buffer`; 0 at the end. Read failures throw.
    virtual size_t Read(char* buffer, size_t size) = 0;
};

class TMemorySource : public TByteSource {
public:
    explicit TMemorySource(std::string_view bytes) : m_rest(bytes) {}
    size_t Read(char* buffer, size_t size) override;

private:
    std::string_view m_rest;
};

// Everything a source holds, refused with an EImportError beyond `limit` bytes.
std::string ReadWhole(TByteSource& source, size_t limit);

// Appends items in document order, each given by its depth, without any
// recursion. A depth more than one below the last item's is taken as one
// below it; a depth beyond the limit is refused.
class TTreeBuilder {
public:
    TTreeBuilder(TTreeList& tree, int maxDepth) : m_tree(tree), m_maxDepth(maxDepth) {}

    // The new item; `line` and `column` place the error of a too deep one.
    TTreeListTextNode* Add(int depth, int64_t line = 0, int64_t column = 0);
    // The depth the last item got, -1 before the first.
    int LastDepth() const { return static_cast<int>(m_path.size()) - 1; }

private:
    TTreeList& m_tree;
    int m_maxDepth;
    std::vector<TTreeListTextNode*> m_path;
};

// Items hold UTF-8 or Windows-1252 bytes (see document/textcodec.h); the
// exchange formats hold UTF-8. Valid UTF-8 is returned as it is, anything
// else is decoded as Windows-1252 into `scratch`.
std::string_view AsUtf8(std::string_view bytes, std::string& scratch);
