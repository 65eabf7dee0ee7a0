#include "app/window/exportcommands.h"

#include "app/view/treelistview.h"
#include "app/window/filedialogs.h"
#include "app/window/printcommands.h"
#include "app/window/waitcursor.h"
#include "document/treelist.h"
#include "exchange/exportwriters.h"
#include "exchange/htmlexport.h"
#include "exchange/markdown.h"
#include "exchange/opml.h"

TExportCommands::TExportCommands(TTreeList& tree, TTreeListView& treeView, TFileDialogs& fileDialogs,
                                 const QWidget& memo, const TDocumentSession& session)
    : m_tree(tree), m_treeView(treeView), m_fileDialogs(fileDialogs),
      m_print(std::make_unique<TPrintCommands>(tree, treeView, fileDialogs, memo, session))
{
}

TExportCommands::~TExportCommands() = default;

void TExportCommands::ExportSingle(void (*writer)(const TTreeList&, const std::string&))
{
    m_treeView.FinishNameEdit();
    const QString path = m_fileDialogs.ExecuteSave(QString::fromLatin1(TFileDialogs::TextFileExt),
                                                   QString::fromLatin1(TFileDialogs::TextFileFilter));
    if (path.isEmpty())
        return;
    TWaitCursor wait;
    m_tree.ExpandAll();
    writer(m_tree, path.toStdString());
}

void TExportCommands::actFileExportTxtExecute()
{
    ExportSingle(&ExportTxt);
}

void TExportCommands::actFileExportIniExecute()
{
    ExportSingle(&ExportIni);
}

void TExportCommands::actFileExportMultiExecute()
{
    // One file per item needs a folder the user chose; the working directory
    // is no place to scatter files into.
    m_treeView.FinishNameEdit();
    const QString folder = m_fileDialogs.ChooseFolder(tr("Export as Multiple Files"));
    if (folder.isEmpty())
        return;
    TWaitCursor wait;
    m_tree.ExpandAll();
    ExportMulti(m_tree, folder.toStdString());
}

void TExportCommands::ExportStructured(void (*writer)(const TTreeList&, const std::string&), const char* ext,
                                       const char* filter)
{
    m_treeView.FinishNameEdit();
    const QString path = m_fileDialogs.ExecuteSave(QString::fromLatin1(ext), QString::fromLatin1(filter));
    if (path.isEmpty())
        return;
    TWaitCursor wait;
    writer(m_tree, path.toStdString());
}

void TExportCommands::actFileExportOpmlExecute()
{
    ExportStructured(&ExportOpml, "opml", QT_TRANSLATE_NOOP("TFileDialog", "OPML Files (*.opml)|*.opml|All Files (*.*)|*.*"));
}

void TExportCommands::actFileExportMarkdownExecute()
{
    ExportStructured(&ExportMarkdown, "md", QT_TRANSLATE_NOOP("TFileDialog", "Markdown Files (*.md)|*.md|All Files (*.*)|*.*"));
}

void TExportCommands::actFileExportHtmlExecute()
{
    ExportStructured(&ExportHtml, "html", QT_TRANSLATE_NOOP("TFileDialog", "HTML Files (*.html;*.htm)|*.html;*.htm|All Files (*.*)|*.*"));
}

void TExportCommands::actFilePrintExecute()
{
    m_print->Print();
}

void TExportCommands::actFilePrintPreviewExecute()
{
    m_print->PrintPreview();
}

void TExportCommands::actFileExportPdfExecute()
{
    m_print->ExportPdf();
}
