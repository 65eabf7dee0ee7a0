#include "app/window/application.h"

#include "app/language/lowerlayertext.h"
#include "app/language/translators.h"
#include "app/window/prompter.h"
#include "document/errortext.h"

#include <atomic>
#include <stdexcept>

namespace {
std::atomic<int> lastResortCount{0};

class TWindowGuard final : public TGuard {
public:
    void Run(const std::function<void()>& work) override { RunGuarded(work); }
};
}  // namespace

QString ErrorBoxMessage(const std::exception& error)
{
    return QString::fromStdString(
        ErrorBoxText(TLowerLayerText::Translated(QString::fromStdString(error.what())).toStdString()));
}

void ShowException(const std::exception& error)
{
    Prompter().ShowError(ErrorBoxMessage(error));
}

TGuard& WindowGuard()
{
    static TWindowGuard guard;
    return guard;
}

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    // Data folders are named after both: ~/.local/share/Vek/VekTreeViewEditor.
    setOrganizationName(QStringLiteral("Vek"));
    setApplicationName(QString::fromLatin1(ApplicationTitle));
    InstallEnglishPlurals();
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        ++lastResortCount;
        ShowException(error);
    } catch (...) {
        ++lastResortCount;
        ShowException(std::runtime_error(QCoreApplication::translate("TApplication", "Unknown error").toStdString()));
    }
    return false;
}

int TApplication::LastResortCount()
{
    return lastResortCount;
}
