#pragma once

#include "app/widgets/textsearch.h"
#include "app/window/prompter.h"
#include "document/treelist.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QTimer;
class QToolBar;
class QToolButton;
class QWidget;
class TActionList;
class TFindDialog;
class TFontDialog;
class TIconComboBox;
class TReplaceDialog;
class TTreeListView;
class TDescriptionFollower;

// The main window. Its code is split by concern:
//   mainwindow.cpp              creation, layout, hints, closing
//   mainwindow_commands.cpp     the command table, menus, toolbars, enable rules
//   mainwindow_document.cpp     the document's life cycle and file commands
//   mainwindow_items.cpp        commands on items, dragging, renaming, icons
//   mainwindow_description.cpp  the description pane and its commands
//   mainwindow_export.cpp       the export commands
class TfrmTreeViewEditorMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TfrmTreeViewEditorMain(QStringList arguments = {}, QWidget* parent = nullptr);
    ~TfrmTreeViewEditorMain() override;

    // Components, reachable for the tests and the settings store.
    TTreeList& TreeList() { return m_tree; }
    TTreeListView* TreeListView() const { return m_treeView; }
    QPlainTextEdit* Memo1() const { return m_memo; }
    TIconComboBox* IconComboBox() const { return m_iconComboBox; }
    TActionList* ActionListTV() const { return m_actionListTV; }
    TActionList* ActionListMemo() const { return m_actionListMemo; }
    QAction* Action(const QString& name) const;
    TFileDialog& OpenDialog1() { return m_openDialog; }
    TFileDialog& SaveDialog1() { return m_saveDialog; }
    TFindDialog* FindDialog1() const { return m_findDialog; }
    TReplaceDialog* ReplaceDialog1() const { return m_replaceDialog; }
    TFontDialog* FontDialog1() const { return m_fontDialog.get(); }
    QString StatusPanelText(int panel) const;

    const QString& FileName() const { return FFileName; }
    bool Modified() const { return FModified; }

    // Document life cycle.
    void UpdateTitle(bool modified);
    void NewOpenSaveSaveasClose(QAction* sender);
    void NewOpenSaveSaveasClose(int tag);
    void ShowHint(const QString& hint);

    // Commands on items.
    void actEditItemNewExecute();
    void actEditItemNewSubExecute();
    void actEditItemDeleteExecute();
    void actEditItemMoveUpExecute();
    bool TreeListDragOver(QObject* source);
    void TreeListDragDrop(int x, int y);
    void TreeListEdited(TTreeListTextNode* node, bool textChanged);
    void IconComboBoxChange();
    void TreeListSelectedCountChange();

    // The description pane.
    void TreeListChangeNode(TTreeListTextNode* oldNode, TTreeListTextNode* node);
    void Memo1Change();
    void Memo1Enter();
    void actViewWordWrapExecute();
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
    // Loads bytes as the description (a text file, a dropped file).
    void LoadDescriptionBytes(const std::string& bytes);
    int MemoLineCount() const;
    // Puts a pending edit of the editor into the item it belongs to.
    void CommitDescription();
    // Descriptions at least this long (in characters) reach the item lazily.
    static constexpr int LazyDescriptionSize = 256 * 1024;

    // Exports.
    void actFileExportTxtExecute();
    void actFileExportIniExecute();
    void actFileExportMultiExecute();

    // Enable rules.
    void ActionListTVUpdate(QAction* action);
    void ActionListMemoUpdate(QAction* action);
    void UpdateActions();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TDescriptionFollower;

    void CreateComponents();
    void CreateActions();
    void CreateMenus();
    void CreateToolBars();
    void CreateLayout();
    void FormCreate();
    void FormShow();
    bool FormCloseQuery();

    void CloseDocument();
    // Replaces the document by a tree data file's content.
    void LoadDocument(const QString& path);
    void SaveDocument();
    bool SaveAndCloseDocument();
    bool ChooseSaveName(const QString& preset);
    bool SaveCommand();
    QMessageBox::StandardButton AskSaveChanges();
    void ClearDescription();
    void RefreshDescription(TTreeListTextNode* node);
    // The steps New Item and New Sub Item share once the item exists.
    void StartNewItem(TTreeListTextNode* item, int32_t icon);
    void MarkModified();
    void RememberFolder(const QString& path);
    bool Search(const QString& findText, const TSearchOptions& options, bool reportFailure);
    bool ClaimEditAction(QAction* action);
    void ClipboardChanged();
    void ExportSingle(void (*writer)(const TTreeList&, const std::string&));

    TTreeList m_tree;
    QString FFileName;
    bool FModified = false;
    bool FLoadingDescription = false;
    QStringList m_arguments;
    bool m_shown = false;

    std::unique_ptr<TDescriptionFollower> m_follower;
    TTreeListTextNode* m_shownNode = nullptr;  // whose description the editor holds
    int m_shownEncoding = 0;                   // TTextEncoding of that description
    bool m_descriptionDirty = false;           // the editor holds text the item has not
    QTimer* m_commitTimer = nullptr;

    TTreeListView* m_treeView = nullptr;
    QPlainTextEdit* m_memo = nullptr;
    TIconComboBox* m_iconComboBox = nullptr;
    QLabel* m_labelIcon = nullptr;
    QWidget* m_pnlLeft = nullptr;
    QWidget* m_pnlRight = nullptr;
    QWidget* m_pnlTreeViewHeader = nullptr;
    QToolButton* m_btnTreeViewHeader = nullptr;
    QSplitter* m_splitter = nullptr;
    QToolBar* m_toolBarTV = nullptr;
    QToolBar* m_toolBarMemo = nullptr;
    QLabel* m_statusPanels[3] = {nullptr, nullptr, nullptr};
    QMenu* m_popupMenuTV = nullptr;
    QMenu* m_miUNVISIBLE = nullptr;

    TActionList* m_actionListTV = nullptr;
    TActionList* m_actionListMemo = nullptr;

    TFileDialog m_openDialog;
    TFileDialog m_saveDialog;
    QString m_lastFolder;  // folder of the last file chosen in any dialog
    TFindDialog* m_findDialog = nullptr;
    TReplaceDialog* m_replaceDialog = nullptr;
    std::unique_ptr<TFontDialog> m_fontDialog;
    bool m_clipboardHasText = false;
};
