#include "app/about/product.h"

#include "app/about/productsettings.h"

QString AuthorEmail()
{
    return QString::fromUtf8(VEK_AUTHOR_EMAIL);
}

QString HomePage()
{
    return QString::fromUtf8(VEK_HOME_PAGE);
}

QString CopyrightNotice()
{
    return QString::fromUtf8(VEK_COPYRIGHT);
}

// The E-Mail command and the dialog's link both send this text, the blank
// after the colon included.
QString MailLink()
{
    return QStringLiteral("mailto: ") + AuthorEmail() + QStringLiteral("?subject=VekTreeViewEditor");
}
