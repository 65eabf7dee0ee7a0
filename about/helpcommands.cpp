#include "about/helpcommands.h"

#include "about/aboutdialog.h"
#include "about/product.h"

#include <QDesktopServices>
#include <QScopeGuard>
#include <QUrl>

#include <memory>

void OpenLink(const QString& link)
{
    QDesktopServices::openUrl(QUrl(link));
}

namespace {

// Each About gets a dialog of its own, so the memory figure is fresh.
void ShowAboutDialog(QWidget* parent)
{
    const auto dialog = std::make_unique<TfrmAboutDlg>(parent);
    frmAboutDlg = dialog.get();
    const auto forget = qScopeGuard([] { frmAboutDlg = nullptr; });
    dialog->exec();
}

} // namespace

void actHelpAboutExecute(int tag, QWidget* parent)
{
    switch (THelpTag(tag)) {
    case THelpTag::Email:
        OpenLink(MailLink());
        break;
    case THelpTag::HomePage:
        OpenLink(HomePage());
        break;
    case THelpTag::About:
        ShowAboutDialog(parent);
        break;
    }
}
