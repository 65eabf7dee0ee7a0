#pragma once

#include "document/protectedfile.h"
#include "document/treefile.h"

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
    // The document's protection changed: a password was set or removed, or
    // another document came. What is written from it follows.
    std::function<void()> OnProtectionChanged;

    const QString& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }
    // The caption names the file (or "Untitled"); the status panel says "Modified".
    void UpdateTitle(bool modified);
    // Every change of the document, whatever made it, ends here.
    void MarkModified();

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
    // Empties the tree and the editor: an untitled, unmodified document.
    void CloseDocument();
    // The window's first show: opens the file named first on the command line.
    void FormShow();
    // The file FormShow opens; empty when none is named.
    QString CommandLineFile() const;
    // Replaces the document by a recovery copy of an unsaved one: the tree is
    // the copy's, the file name the one the document had, and the document is
    // modified, so that saving puts it where it belongs. A copy that cannot be
    // read throws and leaves an empty, untitled document. A protected copy
    // asks for its password; false when that question was cancelled.
    bool OpenRecovered(const QString& copyPath, const QString& fileName);
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
    QString FFileName;
    bool FModified = false;
    QLabel* m_protectionPanel = nullptr;
    // Derived once per open or password change; the password is not kept.
    std::shared_ptr<const TFileKey> m_key;
    TProtectionParams m_protectionParams;
    bool m_clearExportConfirmed = false;
};
