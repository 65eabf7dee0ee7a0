#include "app/view/itemtext.h"

TItemText ItemBytesToText(std::string_view bytes)
{
    TDecodedText decoded = DecodeText(bytes);
    return {QString::fromStdU16String(decoded.text), decoded.encoding};
}

std::string ItemTextToBytes(const QString& text, TTextEncoding encoding)
{
    return EncodeText(text.toStdU16String(), encoding);
}
