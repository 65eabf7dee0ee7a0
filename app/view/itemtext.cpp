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

TItemText ItemBytesToEditorText(std::string_view bytes)
{
    TItemText item = ItemBytesToText(bytes);
    if (item.text.contains(QLatin1Char('\r'))) {
        item.text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        item.text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    return item;
}
