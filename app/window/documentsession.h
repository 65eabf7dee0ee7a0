#pragma once

#include "document/undohistory.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

class QAction;
class QLabel;
class QWidget;
class TDocumentProtection;
class TFileCommands;
class TFileDialogs;
class TFileKey;
class TFileWatcher;
class TUnfinishedEdit;
class TTreeList;
class TTreeListTextNode;
struct TProtectionParams;

// The open document: which tree data file it is, whether it holds unsaved
// changes, its history of changes, and what the window's caption and status
// bar say about that. Its parts do the rest: the file commands with the
// background load, the watch for changes by another program, and the
// password.
class TDocumentSession : public QObject {
    Q_OBJECT
public:
    TDocumentSession(TTreeList& tree, TFileDialogs& dialogs, QWidget& window, QLabel& modifiedPanel,
                     QStringList arguments);
    ~TDocumentSession() override;

    // Ends what is still being typed outside the tree (an item's new name),
    // so that the file commands and the close query see it as a change.
    void SetNameEdit(TUnfinishedEdit& edit);
    // Asked before a change joins the history: typing not yet recorded
    // becomes a step of its own first, so the steps keep the order of the
    // changes.
    void SetTyping(TUnfinishedEdit& typing);

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
    // The top-level items (or `parent`'s children) from `firstNew` on, just
    // appended (an import, a file drop), become one step, and come into view;
    // the focus stays.
    void RecordAppended(const char* stepName, int firstNew, TTreeListTextNode* parent = nullptr);
    // Finishes the name still being typed, if any.
    void FinishEditing();

    // The password, as TDocumentProtection does it.
    // Whether the document is saved encrypted with a password.
    bool Protected() const;
    // The key its saves and recovery copies are encrypted with; null when clear.
    const std::shared_ptr<const TFileKey>& Key() const;
    void SetProtectionParams(const TProtectionParams& params);
    void SetProtectionPanel(QLabel* panel);
    void actFileSetPasswordExecute();
    void actFileRemovePasswordExecute();
    bool ConfirmClearExport();

    // The file commands, as TFileCommands does them.
    void actFileNewExecute();
    void actFileOpenExecute();
    void actFileSaveExecute();
    void actFileSaveAsExecute();
    void actFileCloseExecute();
    // Opens a file of File > Open Recent; one that is gone is said so and
    // leaves the list.
    void OpenRecent(const QString& path);
    void actFileClearRecentExecute();
    // As TFileCommands::SaveAutomatically.
    bool SaveAutomatically();
    // The file command of the action's tag (11 New to 15 Close); another
    // tag does nothing.
    void NewOpenSaveSaveasClose(const QAction* sender);
    void NewOpenSaveSaveasClose(int tag);
    // Empties the tree and the editor: an untitled, unmodified document.
    void CloseDocument();
    void FormShow();
    QString CommandLineFile() const;
    void FormShowInBackground();
    bool Loading() const;
    bool OpenRecovered(const QString& copyPath, const QString& fileName);
    // False when the window must stay open. A failed save throws.
    bool FormCloseQuery();

    // The parts, for one another.
    TFileWatcher& Watcher() { return *m_watcher; }
    TDocumentProtection& Protection() { return *m_protection; }

    // How the parts move the document from one state to the next.
    // The file name chosen for a save, before it is written.
    void NameFile(const QString& path);
    // Written to its file: that version is the document's now.
    void Saved();
    // Written to its file as it was when the history's save mark was set;
    // a change since keeps it modified.
    void SavedAtMark();
    // As TFileCommands does them.
    bool Saving() const;
    bool SaveWriting() const;
    void WaitForSave();
    void SetBackgroundSaveFrom(size_t bytes);
    // Read from `path`: named, unmodified, its first item shown.
    void Loaded(const QString& path);
    // A read that failed: what was read stays, as an untitled document.
    void LoadFailed();
    // A recovery copy is in: named `fileName`, and modified until saved.
    void Recovered(const QString& fileName);
    // The file changed on disk and the user wants it back.
    void Reload(const QString& path);

    // Everything after the last path delimiter or drive colon.
    static QString FileNamePart(const QString& path);

signals:
    // The document was emptied: the editor shows nothing.
    void Closed();
    // A file came in (all of it, or what was read before an error): the
    // editor shows `item`'s description.
    void Opened(TTreeListTextNode* item);
    // Every change of the modified flag, also to the value it had: true
    // for each change of the document, false when it matches its file again
    // (saved, loaded) or is closed.
    void ModifiedSet(bool modified);
    // The document was written to its file, which holds this version now.
    void Written();
    // A password was set or removed, or another document came. What is
    // written from it follows.
    void ProtectionChanged();
    // What the status bar says about a load that takes a while; empty when
    // it has ended.
    void LoadProgress(const QString& text);

private:
    void SetModified(bool modified);
    // The modified flag as the history has it.
    void HistoryChanged();

    TTreeList& m_tree;
    QWidget& m_window;
    QLabel& m_modifiedPanel;
    QString FFileName;
    bool FModified = false;
    // Changed in a way no step records: modified whatever the history says.
    bool m_changedOutsideHistory = false;
    TUndoHistory m_history;
    TUnfinishedEdit* m_nameEdit = nullptr;
    TUnfinishedEdit* m_typing = nullptr;
    std::unique_ptr<TDocumentProtection> m_protection;
    std::unique_ptr<TFileWatcher> m_watcher;
    std::unique_ptr<TFileCommands> m_files;
};
