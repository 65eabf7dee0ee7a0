#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QWidget;
class TFileDialogs;
class TTreeList;
class TTreeListTextNode;

// The open document: which tree data file it is, whether it holds unsaved
// changes, and what the window's caption and status bar say about that. It
// runs the five file commands, opens the file named on the command line, and
// asks "save changes?" before the document goes away.
class TDocumentSession {
public:
    TDocumentSession(TTreeList& tree, TFileDialogs& dialogs, QWidget& window, QLabel& modifiedPanel,
                     QStringList arguments);
    ~TDocumentSession();

    // The description pane's part in the life cycle: empty the editor, or
    // show an item's description.
    std::function<void()> OnClearDescription;
    std::function<void(TTreeListTextNode* item)> OnShowDescription;
    // Every change of the modified flag, also to the value it had: true
    // for each change of the document, false when it matches its file again
    // (saved, loaded) or is closed.
    std::function<void(bool modified)> OnSetModified;
    // Ends what is still being typed outside the tree (an item's new name),
    // so that the file commands and the close query see it as a change.
    std::function<void()> OnFinishEditing;

    const QString& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    // The caption names the file (or "Untitled"); the status panel says "Modified".
    void UpdateTitle(bool modified);
    // Every change of the document, whatever made it, ends here.
    void MarkModified();

    // New, Open, Save, Save As and Close, told apart by the action's tag.
    void NewOpenSaveSaveasClose(const QAction* sender);
    void NewOpenSaveSaveasClose(int tag);
    // Empties the tree and the editor: an untitled, unmodified document.
    void CloseDocument();
    // The window's first show: opens the file named first on the command line.
    void FormShow();
    // The file FormShow opens; empty when none is named.
    QString CommandLineFile() const;
    // FormShow for the window: the file is read on a worker thread into a
    // tree of its own and moved into the document when it is in, so the
    // window shows at once and answers while a large file loads. A failed
    // read leaves what was read as an untitled document and throws, through
    // Protected, once it has ended.
    void FormShowInBackground();
    // True from FormShowInBackground until the file is in the document (or
    // failed); the commands that need the document wait for it.
    bool Loading() const;
    // What the status bar says about a load that takes a while; empty when
    // it has ended.
    std::function<void(const QString& text)> OnLoadProgress;
    // Replaces the document by a recovery copy of an unsaved one: the tree is
    // the copy's, the file name the one the document had, and the document is
    // modified, so that saving puts it where it belongs. A copy that cannot be
    // read throws and leaves an empty, untitled document.
    void OpenRecovered(const QString& copyPath, const QString& fileName);
    // False when the window must stay open. A failed save throws.
    bool FormCloseQuery();

private:
    enum class TFileTag { New = 11, Open = 12, Save = 13, SaveAs = 14, Close = 15 };
    // What a save step came to.
    enum class TSaveResult { Cancelled, NothingSaved, Saved };

    TSaveResult SaveChanges();
    TSaveResult SaveCommand();
    void OpenCommand();
    void SaveAsCommand();
    bool ChooseSaveName(const QString& preset);
    void SaveDocument();
    // Replaces the document by a tree data file's content.
    void LoadDocument(const QString& path);
    void SetModified(bool modified);
    void ShowDescription(TTreeListTextNode* item);
    void FinishEditing();

    TTreeList& m_tree;
    TFileDialogs& m_dialogs;
    QWidget& m_window;
    QLabel& m_modifiedPanel;
    const QStringList m_arguments;
    class TBackgroundLoad;
    std::unique_ptr<TBackgroundLoad> m_load;
    void FinishBackgroundLoad();
    QString FFileName;
    bool FModified = false;
};
