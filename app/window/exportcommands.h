#pragma once

#include <QCoreApplication>

#include <memory>
#include <string>

class QWidget;
class TDocumentSession;
class TFileDialogs;
class TPrintCommands;
class TTreeList;
class TTreeListView;

// The export commands: the whole tree as one text file, as one ini-style
// file, as one text file per item in a folder, or keeping its structure as
// an OPML outline, a Markdown document or an HTML page. Each writes the text
// in the clear: their rows in the command table say so, and the dispatcher
// asks before they run for a protected document. A name
// still being typed is part of what the user exports.
class TExportCommands {
    Q_DECLARE_TR_FUNCTIONS(TExportCommands)

public:
    // Printing takes the editor's font and the document's name.
    TExportCommands(TTreeList& tree, TTreeListView& treeView, TFileDialogs& fileDialogs, const QWidget& memo,
                    const TDocumentSession& session);
    ~TExportCommands();

    void actFileExportTxtExecute();
    void actFileExportIniExecute();
    void actFileExportMultiExecute();
    void actFileExportOpmlExecute();
    void actFileExportMarkdownExecute();
    void actFileExportHtmlExecute();
    void actFilePrintExecute();
    void actFilePrintPreviewExecute();
    void actFileExportPdfExecute();
    TPrintCommands& Printing() { return *m_print; }

private:
    void ExportSingle(void (*writer)(const TTreeList&, const std::string&));
    // The exports that keep the tree's structure need not expand it.
    void ExportStructured(void (*writer)(const TTreeList&, const std::string&), const char* ext,
                          const char* filter);

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TFileDialogs& m_fileDialogs;
    std::unique_ptr<TPrintCommands> m_print;
};
