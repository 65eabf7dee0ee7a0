#include "exchange/importsupport.h"

#include "document/textcodec.h"
#include "document/treelist.h"

#include <algorithm>
#include <array>
#include <cstring>

EImportError::EImportError(std::string fileName, int64_t line, int64_t column, std::string reason)
    : std::runtime_error(Text(fileName, line, column, reason)),
      m_fileName(std::move(fileName)),
      m_line(line),
      m_column(column),
      m_reason(std::move(reason))
{
}

EImportError EImportError::InFile(const std::string& fileName) const
{
    return EImportError(fileName, m_line, m_column, m_reason);
}

std::string EImportError::Text(const std::string& fileName, int64_t line, int64_t column, const std::string& reason)
{
    std::string text = fileName.empty() ? "Cannot import" : "Cannot import " + fileName;
    if (line > 0) {
        text += ": line " + std::to_string(line);
        if (column > 0)
            text += ", column " + std::to_string(column);
    }
    return text + ": " + reason;
}

size_t TMemorySource::Read(char* buffer, size_t size)
{
    const size_t count = std::min(size, m_rest.size());
    std::memcpy(buffer, m_rest.data(), count);
    m_rest.remove_prefix(count);
    return count;
}

std::string ReadWhole(TByteSource& source, size_t limit)
{
    constexpr size_t Piece = size_t{1} << 20;
    std::string bytes;
    for (;;) {
        const size_t start = bytes.size();
        bytes.resize(start + Piece);
        const size_t got = source.Read(bytes.data() + start, Piece);
        bytes.resize(start + got);
        if (bytes.size() > limit)
            throw EImportError("", 0, 0, "the file is larger than " + std::to_string(limit) + " bytes");
        if (got == 0)
            return bytes;
    }
}

TTreeListTextNode* TTreeBuilder::Add(int depth, int64_t line, int64_t column)
{
    depth = std::clamp(depth, 0, static_cast<int>(m_path.size()));
    if (depth > m_maxDepth)
        throw EImportError("", line, column, "items nested deeper than " + std::to_string(m_maxDepth) + " levels");
    m_path.resize(static_cast<size_t>(depth));
    TTreeListTextNode* item = depth == 0 ? m_tree.AddItem() : m_path.back()->AddChild();
    m_path.push_back(item);
    return item;
}

namespace {

// The UTF-8 of each byte from 0x80 up read as Windows-1252, taken from the
// text codec once.
const std::array<std::string, 128>& Cp1252HighAsUtf8()
{
    static const std::array<std::string, 128> table = [] {
        std::array<std::string, 128> utf8;
        for (size_t i = 0; i < utf8.size(); ++i)
            utf8[i] = EncodeText(DecodeText(std::string(1, static_cast<char>(0x80 + i))).text, TTextEncoding::Utf8);
        return utf8;
    }();
    return table;
}

}  // namespace

std::string_view AsUtf8(std::string_view bytes, std::string& scratch)
{
    const auto ascii = std::find_if(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    if (ascii == bytes.end() || IsValidUtf8(bytes))
        return bytes;
    const auto& high = Cp1252HighAsUtf8();
    scratch.assign(bytes.begin(), ascii);
    for (auto it = ascii; it != bytes.end();) {
        const auto next = std::find_if(it, bytes.end(), [](char c) { return (c & 0x80) != 0; });
        scratch.append(it, next);
        if (next == bytes.end())
            break;
        scratch += high[static_cast<unsigned char>(*next) - 0x80];
        it = next + 1;
    }
    return scratch;
}
