#include "app/view/itemtext.h"

#include "document/treelist.h"

#include <algorithm>
#include <cstring>

TItemText ItemBytesToText(std::string_view bytes)
{
    TDecodedText decoded = DecodeText(bytes);
    return {QString::fromStdU16String(decoded.text), decoded.encoding};
}

std::string ItemTextToBytes(const QString& text, TTextEncoding encoding)
{
    return EncodeText(text.toStdU16String(), encoding);
}

TItemText ItemBytesToEditorText(std::string_view bytes)
{
    // Descriptions run to megabytes: valid UTF-8 goes through Qt's fast
    // decoder, which gives the same characters as the codec, and the line
    // breaks are folded in place rather than by replacing twice.
    TItemText item;
    // Qt's decoder drops a leading byte order mark, which the item keeps.
    const bool bom = bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
    if (!bom && IsValidUtf8(bytes)) {
        item.text = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
        item.encoding = TTextEncoding::Utf8;
    } else {
        item = ItemBytesToText(bytes);
    }
    if (!std::memchr(bytes.data(), '\r', bytes.size()))
        return item;
    QChar* text = item.text.data();
    const qsizetype size = item.text.size();
    qsizetype out = 0;
    for (qsizetype in = 0; in < size; ++in) {
        if (text[in] == QLatin1Char('\r')) {
            text[out++] = QLatin1Char('\n');
            if (in + 1 < size && text[in + 1] == QLatin1Char('\n'))
                ++in;
        } else {
            text[out++] = text[in];
        }
    }
    item.text.truncate(out);
    return item;
}

bool HasOnlyCrLfBreaks(std::string_view bytes)
{
    // Every LF after a CR, and as many CRs as LFs: then every CR is followed by an LF.
    size_t lfs = 0;
    for (const char* p = bytes.data(); const void* hit = std::memchr(p, '\n', bytes.size() - (p - bytes.data()));) {
        const char* lf = static_cast<const char*>(hit);
        if (lf == bytes.data() || lf[-1] != '\r')
            return false;
        ++lfs;
        p = lf + 1;
    }
    return static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\r')) == lfs;
}

namespace {
// How many editor characters start at a byte: none for a UTF-8 continuation
// byte or the LF of a CR LF, two for a character beyond the BMP (a surrogate
// pair in the editor).
inline size_t Weight(unsigned char c, bool utf8)
{
    if (!utf8)
        return c != '\n';
    return static_cast<size_t>(((c & 0xC0) != 0x80) & (c != '\n')) + (c >= 0xF0);
}
}  // namespace

size_t EditorPositionToOffset(std::string_view bytes, TTextEncoding encoding, size_t position)
{
    const bool utf8 = encoding == TTextEncoding::Utf8;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const size_t size = bytes.size();
    size_t reached = 0;
    size_t i = 0;
    // Whole blocks first, in a loop the compiler can vectorise.
    constexpr size_t Block = 4096;
    while (i + Block <= size) {
        size_t weight = 0;
        for (size_t k = 0; k < Block; ++k)
            weight += Weight(data[i + k], utf8);
        if (reached + weight > position)
            break;
        reached += weight;
        i += Block;
    }
    for (; i < size; ++i) {
        const size_t weight = Weight(data[i], utf8);
        if (weight == 0)
            continue;
        if (reached == position)
            return i;
        if (reached + weight > position)
            return std::string_view::npos;  // between the halves of a surrogate pair
        reached += weight;
    }
    return reached == position ? size : std::string_view::npos;
}

QString PathSeparator()
{
    return QStringLiteral(" \u203A ");
}

QStringList ItemPath(const TTreeListTextNode* item)
{
    QStringList names;
    for (; item; item = item->Parent())
        names.prepend(ItemBytesToText(item->GetText(TreeListColumnName)).text);
    return names;
}
