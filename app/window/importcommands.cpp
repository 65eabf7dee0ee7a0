#include "app/window/importcommands.h"

#include "app/window/documentsession.h"
#include "app/window/filedialogs.h"
#include "app/window/waitcursor.h"
#include "document/treelist.h"
#include "exchange/treeimport.h"

TImportCommands::TImportCommands(TTreeList& tree, TFileDialogs& fileDialogs, TDocumentSession& session)
    : m_tree(tree), m_fileDialogs(fileDialogs), m_session(session)
{
}

void TImportCommands::actFileImportExecute()
{
    const QString path = m_fileDialogs.ExecuteOpen(QStringLiteral("opml"), QString::fromLatin1(ImportFilter));
    if (path.isEmpty())
        return;
    ImportPath(path.toStdString());
}

void TImportCommands::ImportPath(const std::string& path)
{
    TWaitCursor wait;
    // Read apart: a file that fails half way adds nothing.
    TTreeList imported;
    ImportFile(imported, path, ImportFormatOfFile(path));
    AppendImported(imported);
}

void TImportCommands::AppendImported(TTreeList& imported)
{
    if (imported.TopItemCount() == 0)
        return;
    m_session.BeginChange();
    const int firstNew = m_tree.TopItemCount();
    m_tree.AppendItemsFrom(imported);
    // The whole import is one step.
    m_session.RecordAppended(QT_TRANSLATE_NOOP("TUndoStep", "Import"), firstNew);
}
