#include "app/widgets/imagelists.h"
#include "app/window/application.h"
#include "app/window/mainwindow.h"

#include <QIcon>

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    InitResources();
    application.setWindowIcon(QIcon(QStringLiteral(":/icons/app/16.png")));
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmTreeViewEditorMain window(arguments);
    window.show();
    return TApplication::exec();
}
