#include "app/window/mainwindow.h"

#include "exchange/exportwriters.h"

#include <QApplication>
#include <QDir>

namespace {
// The application-wide wait cursor, taken back however the work ends.
class TWaitCursor {
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};
}  // namespace

void TfrmTreeViewEditorMain::ExportSingle(void (*writer)(const TTreeList&, const std::string&))
{
    m_saveDialog.DefaultExt = QStringLiteral("txt");
    m_saveDialog.Filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    if (!Prompter().ExecuteSave(this, m_saveDialog))
        return;
    RememberFolder(m_saveDialog.FileName);
    TWaitCursor wait;
    m_tree.ExpandAll();
    writer(m_tree, m_saveDialog.FileName.toStdString());
}

void TfrmTreeViewEditorMain::actFileExportTxtExecute()
{
    ExportSingle(&ExportTxt);
}

void TfrmTreeViewEditorMain::actFileExportIniExecute()
{
    ExportSingle(&ExportIni);
}

void TfrmTreeViewEditorMain::actFileExportMultiExecute()
{
    // One file per item needs a folder the user chose; the working directory
    // is no place to scatter files into.
    const QString start = m_lastFolder.isEmpty() ? QDir::currentPath() : m_lastFolder;
    const QString folder = Prompter().ChooseFolder(this, QStringLiteral("Export as Multiple Files"), start);
    if (folder.isEmpty())
        return;
    m_lastFolder = folder;
    TWaitCursor wait;
    m_tree.ExpandAll();
    ExportMulti(m_tree, folder.toStdString());
}
