#include "app/window/application.h"

#include "app/window/prompter.h"
#include "document/errortext.h"

void ShowException(const std::exception& error)
{
    Prompter().ShowError(QString::fromStdString(ErrorBoxText(error.what())));
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Data folders are named after both: ~/.local/share/Vek/VekTreeViewEditor.
    setOrganizationName(QStringLiteral("Vek"));
    setApplicationName(QString::fromLatin1(ApplicationTitle));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    Protected([&] { result = QApplication::notify(receiver, event); });
    return result;
}
