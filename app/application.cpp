#include "application.h"

#include "prompter.h"

QString ErrorBoxText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void ShowException(const std::exception& error)
{
    Prompter().ShowError(ErrorBoxText(QString::fromUtf8(error.what())));
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(ApplicationTitle));
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    bool result = false;
    Protected([&] { result = QApplication::notify(receiver, event); });
    return result;
}
