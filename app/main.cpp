#include "application.h"
#include "imagelists.h"
#include "mainwindow.h"

int main(int argc, char* argv[])
{
    TApplication application(argc, argv);
    InitResources();
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    TfrmTreeViewEditorMain window(arguments);
    window.show();
    return TApplication::exec();
}
