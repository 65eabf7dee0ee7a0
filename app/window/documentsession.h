#pragma once

#include "document/protectedfile.h"
#include "document/treefile.h"
#include "document/undohistory.h"

#include <QFileSystemWatcher>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <cstdint>
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
// asks "save changes?" before the document goes away. It watches the file
// for changes by another program and asks before reloading or overwriting.
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
    // Asked before a change joins the history: typing not yet recorded
    // becomes a step of its own first, so the steps keep the order of the
    // changes.
    std::function<void()> OnBeginChange;
    // The document's protection changed: a password was set or removed, or
    // another document came. What is written from it follows.
    std::function<void()> OnProtectionChanged;

    const QString& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    // The caption names the file (or "Untitled"); the status panel says "Modified".
    void UpdateTitle(bool modified);
    // A change the history cannot take back (a recovered copy): the document
    // stays modified until it is saved.
    void MarkModified();
    // A change that becomes a step later (typing in a description).
    void MarkEdited();
    // The document's history of changes.
    TUndoHistory& History() { return m_history; }
    const TUndoHistory& History() const { return m_history; }
    // Every command that changes the document calls this first, then
    // Record with the step it made.
    void BeginChange();
    // None: what looked like a change was taken back before it became a
    // step, and the history alone decides whether the document is modified.
    void Record(std::unique_ptr<TUndoStep> step);
    // The top-level items from `firstNew` on, just appended (an import, a file
    // drop), become one step, and come into view; the focus stays.
    void RecordAppended(const char* stepName, int firstNew);

    // Whether the document is saved encrypted with a password.
    bool Protected() const { return m_key != nullptr; }
    // The key its saves and recovery copies are encrypted with; null when clear.
    const std::shared_ptr<const TFileKey>& Key() const { return m_key; }
    // The cost of the keys Set Password makes (tests make them cheap).
    void SetProtectionParams(const TProtectionParams& params) { m_protectionParams = params; }
    // The status panel that says whether the document is protected.
    void SetProtectionPanel(QLabel* panel) { m_protectionPanel = panel; }
    // Asks for a new password twice; the next save encrypts with it.
    void actFileSetPasswordExecute();
    // The next save writes the document in the clear again.
    void actFileRemovePasswordExecute();
    // Before the document's text is written in the clear (an export, a
    // description saved to a text file): asks once per protected document
    // whether that is wanted. True when it may go ahead.
    bool ConfirmClearExport();

    // New, Open, Save, Save As and Close, told apart by the action's tag.
    void NewOpenSaveSaveasClose(const QAction* sender);
    void NewOpenSaveSaveasClose(int tag);
    void actFileNewExecute() { NewOpenSaveSaveasClose(11); }
    void actFileOpenExecute() { NewOpenSaveSaveasClose(12); }
    void actFileSaveExecute() { NewOpenSaveSaveasClose(13); }
    void actFileSaveAsExecute() { NewOpenSaveSaveasClose(14); }
    void actFileCloseExecute() { NewOpenSaveSaveasClose(15); }
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
    // read throws and leaves an empty, untitled document. A protected copy
    // asks for its password; false when that question was cancelled.
    bool OpenRecovered(const QString& copyPath, const QString& fileName);
    // False when the window must stay open. A failed save throws.
    bool FormCloseQuery();

    // How long the file must stay quiet after a change before the question:
    // a file written in pieces is one change.
    static constexpr int SettleMs = 150;

private:
    // What tells one version of the file on disk from another.
    struct TDiskStamp {
        bool exists = false;
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = 0, modifiedNs = 0;
        bool operator==(const TDiskStamp& other) const;
        bool operator!=(const TDiskStamp& other) const { return !(*this == other); }
    };
    static TDiskStamp StampOf(const QString& path);
    // The document's file as it was just loaded or saved: watched from now
    // on, and its version is ours.
    void KnowFile();
    void ForgetFile();
    // Watches the file again: a replace by rename ends the watch on the old one.
    void Rewatch();
    void CheckFileOnDisk();
    // False when the file changed on disk and the user does not want it overwritten.
    bool MayOverwrite();
    enum class TFileTag { New = 11, Open = 12, Save = 13, SaveAs = 14, Close = 15 };
    // What a save step came to.
    enum class TSaveResult { Cancelled, NothingSaved, Saved };

    TSaveResult SaveChanges();
    TSaveResult SaveCommand();
    void OpenCommand();
    void SaveAsCommand();
    bool ChooseSaveName(const QString& preset);
    // False when the user keeps the file that another program changed.
    bool SaveDocument();
    // Replaces the document by a tree data file's content.
    void LoadDocument(const QString& path);
    void SetModified(bool modified);
    // The modified flag as the history has it.
    void HistoryChanged();
    void SetKey(std::shared_ptr<const TFileKey> key);
    // Asks for the password of the protected file `shownName` and derives its key.
    TKeySource PasswordQuestion(const QString& shownName, const std::string& fileName);
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
    static bool StartsAsProtected(const QString& path);
    QString FFileName;
    bool FModified = false;
    // Changed in a way no step records: modified whatever the history says.
    bool m_changedOutsideHistory = false;
    TUndoHistory m_history;

    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_watchedFile;
    TDiskStamp m_known;     // the version loaded or saved last
    TDiskStamp m_answered;  // the version last asked about
    bool m_asking = false;
    QLabel* m_protectionPanel = nullptr;
    // Derived once per open or password change; the password is not kept.
    std::shared_ptr<const TFileKey> m_key;
    TProtectionParams m_protectionParams;
    bool m_clearExportConfirmed = false;
};
