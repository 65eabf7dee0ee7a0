#pragma once

#include "document/treelist.h"

#include <QMainWindow>
#include <QStringList>
#include <memory>

class QAction;
class TAutoSave;
class QLabel;
class QPlainTextEdit;
class TCollapseSplitter;
class TCollapseToolBar;
class TCommandTable;
class TDescriptionLinks;
class TDescriptionPane;
class TDescriptionSpelling;
class TDocumentSession;
class TDropFileTarget;
class TEditorLayers;
class TEditCommands;
class TExportCommands;
class TImportCommands;
class TFileDialogs;
class TFileDropImport;
class TFindAllController;
class TLinksHereController;
class TFindDialog;
class TFormStorageHook;
class TFontDialog;
class TIconComboBox;
class TItemCommands;
class TNavigator;
class TSubtreeFocus;
class TTreeFilter;
class TRecoveryManager;
class TReplaceDialog;
class TThemeCommands;
class TSpellChecker;
class TTreeListEvents;
class TTreeListView;

// The main window builds its components, owns the parts that work on them
// and wires the parts together; the command table runs every command.
class TfrmTreeViewEditorMain : public QMainWindow {
    Q_OBJECT
public:
    // Recovery copies live in `recoveryFolder`; without one none are kept.
    explicit TfrmTreeViewEditorMain(QStringList arguments = {}, const QString& recoveryFolder = QString(),
                                    QWidget* parent = nullptr);
    ~TfrmTreeViewEditorMain() override;
    // Exit closes the window, which runs the close query.
    void actFileExitExecute();
    void actHelpAboutExecute(const QAction* sender);
    void actViewOptionsExecute();
    // Components, reachable for the tests and the settings store.
    TTreeList& TreeList() { return m_tree; }
    TTreeListView* TreeListView() const { return m_treeView.get(); }
    QPlainTextEdit* Memo1() const { return m_memo; }
    TIconComboBox* IconComboBox() const { return m_iconComboBox; }
    TFindDialog* FindDialog1() const { return m_findDialog; }
    TDropFileTarget& DropFileOnTreeList() const { return *m_dropFileOnTreeList; }
    TDropFileTarget& DropFileOnMemo() const { return *m_dropFileOnMemo; }
    TReplaceDialog* ReplaceDialog1() const { return m_replaceDialog; }
    TCollapseSplitter* Splitter1() const { return m_splitter; }
    TCollapseToolBar* ToolBarTV() const { return m_toolBarTV; }
    TCollapseToolBar* ToolBarMemo() const { return m_toolBarMemo; }
    TFileDialogs& FileDialogs() const { return *m_fileDialogs; }
    QString StatusPanelText(int panel) const;
    TDocumentSession& Session() const { return *m_session; }
    TDescriptionPane& DescriptionPane() const { return *m_descriptionPane; }
    TFileDropImport& FileDropImport() const { return *m_fileDropImport; }
    TItemCommands& ItemCommands() const { return *m_itemCommands; }
    TDescriptionLinks& DescriptionLinks() const { return *m_descriptionLinks; }
    TDescriptionSpelling& DescriptionSpelling() const { return *m_descriptionSpelling; }
    TSpellChecker& SpellChecker() const { return *m_spellChecker; }
    TImportCommands& ImportCommands() const { return *m_importCommands; }
    TCommandTable& Commands() const { return *m_commands; }
    TRecoveryManager& Recovery() const { return *m_recovery; }
    TFindAllController& FindAll() const { return *m_findAll; }
    TThemeCommands& ThemeCommands() const { return *m_themeCommands; }
    TNavigator& Navigator() const { return *m_navigator; }
    TSubtreeFocus& SubtreeFocus() const { return *m_subtreeFocus; }
    TTreeFilter& TreeFilter() const { return *m_treeFilter; }
    TAutoSave& AutoSave() const { return *m_autoSave; }
    TLinksHereController& LinksHere() const { return *m_linksHere; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateComponents();
    void CreateLayout();
    void CreateFormStorage();
    void FormCreate();
    void BtnTreeViewHeaderClick();
    void FormClose();
    void ShowHint(const QString& hint);

    // Destroyed in reverse order, before the child widgets: the parts before
    // what they work on, the view before the tree it observes.
    TTreeList m_tree;
    std::unique_ptr<TTreeListView> m_treeView;
    std::unique_ptr<TFontDialog> m_fontDialog;
    std::unique_ptr<TFileDialogs> m_fileDialogs;
    std::unique_ptr<TDocumentSession> m_session;
    std::unique_ptr<TEditCommands> m_editCommands;
    std::unique_ptr<TDescriptionPane> m_descriptionPane;
    std::unique_ptr<TItemCommands> m_itemCommands;
    std::unique_ptr<TEditorLayers> m_editorLayers;
    std::unique_ptr<TSpellChecker> m_spellChecker;
    std::unique_ptr<TDescriptionLinks> m_descriptionLinks;
    std::unique_ptr<TDescriptionSpelling> m_descriptionSpelling;
    std::unique_ptr<TExportCommands> m_exportCommands;
    std::unique_ptr<TImportCommands> m_importCommands;
    std::unique_ptr<TFileDropImport> m_fileDropImport;
    std::unique_ptr<TFindAllController> m_findAll;
    std::unique_ptr<TThemeCommands> m_themeCommands;
    std::unique_ptr<TLinksHereController> m_linksHere;
    std::unique_ptr<TCommandTable> m_commands;
    std::unique_ptr<TNavigator> m_navigator;
    std::unique_ptr<TSubtreeFocus> m_subtreeFocus;
    std::unique_ptr<TTreeFilter> m_treeFilter;
    std::unique_ptr<TRecoveryManager> m_recovery;
    std::unique_ptr<TAutoSave> m_autoSave;
    // Gone first of the parts, so the tree stops calling out before they go.
    std::unique_ptr<TTreeListEvents> m_treeEvents;
    bool m_shown = false;

    QPlainTextEdit* m_memo = nullptr;
    TIconComboBox* m_iconComboBox = nullptr;
    TFindDialog* m_findDialog = nullptr;
    TReplaceDialog* m_replaceDialog = nullptr;
    TDropFileTarget* m_dropFileOnTreeList = nullptr;
    TDropFileTarget* m_dropFileOnMemo = nullptr;
    TCollapseSplitter* m_splitter = nullptr;
    TCollapseToolBar* m_toolBarTV = nullptr;
    TCollapseToolBar* m_toolBarMemo = nullptr;
    QLabel* m_statusPanels[3] = {nullptr, nullptr, nullptr};
    // The settings between runs; gone first, so its save finds everything whole.
    std::unique_ptr<TFormStorageHook> m_formStorage1;
};
