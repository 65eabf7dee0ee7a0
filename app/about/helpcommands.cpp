#include "app/about/helpcommands.h"

#include "app/about/aboutdialog.h"
#include "app/about/product.h"

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

// What each tag of the Help menu does.
const struct {
    THelpTag tag;
    void (*run)(QWidget* parent);
} HelpCommands[] = {
    {THelpTag::Email, [](QWidget*) { OpenLink(MailLink()); }},
    {THelpTag::HomePage, [](QWidget*) { OpenLink(HomePage()); }},
    {THelpTag::About, ShowAboutDialog},
};

} // namespace

void actHelpAboutExecute(int tag, QWidget* parent)
{
    for (const auto& command : HelpCommands)
        if (static_cast<int>(command.tag) == tag)
            command.run(parent);
}
