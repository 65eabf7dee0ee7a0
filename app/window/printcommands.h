#pragma once

#include <QObject>
#include <QString>

class QPagedPaintDevice;
class QWidget;
class TDocumentSession;
class TFileDialogs;
class TTreeList;
class TTreeListTextNode;
class TTreeListView;

// Print, Print Preview and Export as PDF: the tree, or the focused item with
// its sub-items, laid out by TTreePrinter in slices behind a progress dialog
// with Cancel, so the window keeps answering and a long job can be stopped.
class TPrintCommands : public QObject {
    Q_OBJECT
public:
    TPrintCommands(TTreeList& tree, TTreeListView& treeView, TFileDialogs& fileDialogs, const QWidget& memo,
                   const TDocumentSession& session);

    void Print();
    void PrintPreview();
    void ExportPdf();
    // The PDF of the tree, or of `root` with its sub-items, at `path`; false
    // when cancelled, and the file is then left as it was.
    bool WritePdf(const QString& path, const TTreeListTextNode* root);

private:
    // Whether the focused item alone with its sub-items goes on paper; none
    // when the user cancelled.
    bool ChooseScope(const TTreeListTextNode*& root);
    void PrintOnPaper(bool preview);
    // False when cancelled.
    bool Paint(QPagedPaintDevice& device, const TTreeListTextNode* root);
    QString Title() const;

    TTreeList& m_tree;
    TTreeListView& m_treeView;
    TFileDialogs& m_fileDialogs;
    const QWidget& m_memo;
    const TDocumentSession& m_session;
};
