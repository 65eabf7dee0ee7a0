#include "app/window/application.h"

#include "app/window/prompter.h"
#include "document/errortext.h"

#include <stdexcept>

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
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ShowException(error);
    } catch (...) {
        ShowException(std::runtime_error("Unknown error"));
    }
    return false;
}
