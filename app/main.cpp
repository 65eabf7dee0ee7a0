#include "app/about/version.h"
#include "app/language/translators.h"
#include "app/widgets/imagelists.h"
#include "app/window/application.h"
#include "app/window/documentprotection.h"
#include "app/window/documentsession.h"
#include "app/window/mainwindow.h"
#include "app/window/recoverymanager.h"
#include "document/processhardening.h"

#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {
const char* const Usage = QT_TRANSLATE_NOOP("main",
    "Usage: vektreevieweditor [FILE]\n"
    "       vektreevieweditor --help | --version\n"
    "\n"
    "Opens FILE, a tree data file (.trd), in the editor's window.\n");
}  // namespace

int main(int argc, char* argv[])
{
    DisableCoreDumps();
    // Before the application object, which would need a display; the window
    // would otherwise take "--help" for a file to open.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("vektreevieweditor " VEK_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        // A core application only, for the catalogues: still no display.
        QCoreApplication core(argc, argv);
        QCoreApplication::setOrganizationName(QStringLiteral("Vek"));
        QCoreApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
        InstallUserLanguage();
        std::fputs(QCoreApplication::translate("main", Usage).toUtf8().constData(), stdout);
        return 0;
    }
    TApplication application(argc, argv);
    InstallUserLanguage();
    InitResources();
    application.setWindowIcon(ProductIcon());
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmTreeViewEditorMain window(arguments, TRecoveryManager::DefaultFolder());
    window.Session().Protection().SetRecordFolder(TDocumentProtection::DefaultRecordFolder());
    window.show();
    return TApplication::exec();
}
