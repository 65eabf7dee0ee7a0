#pragma once

#include <QString>

// The product's own texts. The address, home page and copyright line are
// build settings (VEK_AUTHOR_EMAIL, VEK_HOME_PAGE, VEK_COPYRIGHT).
QString AuthorEmail();
QString HomePage();
QString CopyrightNotice();

// The link that opens a new message to the author in the user's mail program.
QString MailLink();
