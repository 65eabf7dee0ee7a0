#include "document/itemnamematch.h"

#include "document/textcodec.h"
#include "document/treelist.h"

TItemNameMatch::TItemNameMatch(const std::u16string& name)
    : m_utf8(EncodeText(name, TTextEncoding::Utf8)), m_ansi(EncodeText(name, TTextEncoding::Windows1252))
{
}

bool TItemNameMatch::operator()(const TTreeListTextNode* item) const
{
    return (*this)(item->GetText(TreeListColumnName));
}

bool TItemNameMatch::operator()(std::string_view bytes) const
{
    if (bytes == m_utf8)
        return true;
    return bytes == m_ansi && !IsValidUtf8(bytes);
}
