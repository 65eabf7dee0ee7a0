#pragma once

#include "app/widgets/textsearch.h"
#include "app/window/treelistevents.h"
#include "app/window/unfinishededit.h"
#include "document/textcodec.h"
#include "document/treelist.h"

#include <QObject>
#include <string>

class QAction;
class QPlainTextEdit;
class TDocumentSession;
class TFileDialogs;
class TFindDialog;
class TFontDialog;
class TReplaceDialog;
class TSearchDialog;
class TTreeListEvents;

// The description editor Memo1 always shows the focused item's description,
// and every edit goes back into that item. Around it sit the description
// commands: word wrap, font, loading and saving a text file, find, replace.
class TDescriptionPane : public QObject, private TTreeListObserver, private TUnfinishedEdit, private TPendingTreeText {
    Q_OBJECT
public:
    TDescriptionPane(TTreeList& tree, TTreeListEvents& treeEvents, QPlainTextEdit& memo, TDocumentSession& session,
                     TFileDialogs& fileDialogs, TFindDialog& findDialog, TReplaceDialog& replaceDialog,
                     TFontDialog& fontDialog);
    ~TDescriptionPane() override;

    // Descriptions at least this long (in characters) reach the item lazily.
    static constexpr int LazyDescriptionSize = 256 * 1024;

    void TreeListChangeNode(TTreeListTextNode* oldNode, TTreeListTextNode* node);
    void Memo1Change();
    void Memo1Enter();
    void actViewWordWrapExecute(const QAction* sender);
    void actViewFontExecute();
    void FontDialog1Apply();
    void actFileOpenMemoExecute();
    void actFileSaveMemoExecute();
    void actSearchFindExecute();
    void actSearchFindNextExecute();
    void FindDialog1Find();
    void actSearchReplaceExecute();
    void ReplaceDialog1Find();
    void ReplaceDialog1Replace(bool all);

    // Empties the editor without storing anything.
    void ClearDescription();
    // Shows the item's description; with none the editor is read-only.
    void RefreshDescription(TTreeListTextNode* node);
    // Loads a text file as the focused item's description (Open..., a dropped
    // file): its text up to the first NUL, every line break made CR LF.
    void LoadDescriptionFile(const std::string& path);
    void LoadDescriptionBytes(const std::string& bytes);
    // Puts a pending edit of the editor into the item it belongs to.
    void CommitDescription();
    // The typing done in the shown item since it was shown, or since the last
    // step, becomes one step of the history, named `name` or after the item.
    void EndTypingStep(const std::string& name = std::string());
    // True while typed text waits to become a step; TypingStepName names it.
    bool TypingPending() const { return m_typingItem != nullptr; }
    std::string TypingStepName() const;
    // Shows the focused item's description again when it is not the text
    // the editor shows (an undo changed it).
    void RefreshIfChanged();
    // The editor's lines; an empty last line does not count.
    int MemoLineCount() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Tells a screen reader whose description the editor shows.
    void DescribeForReaders(const TTreeListTextNode* node);
    // The pane follows the focused item whatever moved the focus: the user,
    // a command, or the tree itself when it deletes or moves items.
    void ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last) override;
    void AboutToReset() override;
    void FocusChanged(TTreeListTextNode* item) override;
    // Before a change joins the history, the typing becomes its step.
    void FinishEdit() override;
    // TPendingTreeText
    void CommitEdits() override { CommitDescription(); }
    void ItemChanged(TTreeListTextNode* item) override;

    // What the editor holds matches the shown item's description again.
    void InSync();
    void ContentsChange(int position, int removed, int added);
    // The edited stretch of a large description put between the item's
    // unchanged bytes before and after it; false when that cannot give what
    // encoding the whole text would.
    bool SpliceDescription();

    // Gives the keyboard to the next (or previous) widget of the window.
    void LeaveEditor(bool backward);
    void ShowSearchDialog(TSearchDialog& dialog);
    bool Search(const QString& findText, const TSearchOptions& options, bool reportFailure);

    TTreeList& m_tree;
    QPlainTextEdit& m_memo;
    TDocumentSession& m_session;
    TFileDialogs& m_fileDialogs;
    TFindDialog& m_findDialog;
    TReplaceDialog& m_replaceDialog;
    TFontDialog& m_fontDialog;
    bool FLoadingDescription = false;
    TTreeListTextNode* m_shownNode = nullptr;  // whose description the editor holds
    TTextEncoding m_shownEncoding = TTextEncoding::Utf8;
    TTextEncoding m_byteEncoding = TTextEncoding::Utf8;  // what the item's bytes are in
    bool m_descriptionDirty = false;  // the editor holds text the item has not got yet
    bool m_storing = false;           // the item's change is this pane's own
    bool m_shownChanged = false;      // the shown item changed since (not through this pane)
    // Large descriptions reach the item only when something needs their
    // bytes (a focus change, or CommitEdits before the tree is read). Then
    // only the edited stretch is encoded: the editor's first m_editStart
    // and last m_editTail characters are still those shown from the
    // item's bytes, which held m_shownLength characters, every line break
    // CR LF (m_spliceable; otherwise the whole text is encoded).
    bool m_spliceable = false;
    int m_shownLength = 0;
    int m_editStart = 0;
    int m_editTail = 0;
    // The item typed in since its last step, with its description and string
    // count from before the typing.
    TTreeListTextNode* m_typingItem = nullptr;
    std::string m_typingBefore;
    int m_typingCountBefore = 0;
};
