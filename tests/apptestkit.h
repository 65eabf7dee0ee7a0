#pragma once

#include "app/view/treelistview.h"
#include "app/widgets/finddialog.h"
#include "app/widgets/fontdialog.h"
#include "app/widgets/iconcombobox.h"
#include "app/widgets/replacedialog.h"
#include "app/window/actionid.h"
#include "app/window/descriptionedit.h"
#include "app/window/descriptionpane.h"
#include "app/window/documentsession.h"
#include "app/window/exportcommands.h"
#include "app/window/filedialogs.h"
#include "app/window/itemcommands.h"
#include "app/window/mainwindow.h"
#include "app/window/prompter.h"
#include "app/window/treelistevents.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "tests/settingstestkit.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

class QAction;

// Answers the questions from a script, so no real dialog opens.
class TScriptedPrompter : public TPrompter {
public:
    std::deque<QString> files;  // an empty entry cancels that dialog
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> folders;
    QStringList questions;  // "caption|text"
    QStringList errors;
    QStringList dialogs;  // "open:<ext>" or "save:<ext>:<preset file name>"
    std::deque<std::optional<QString>> passwords;  // none cancels
    QStringList passwordQuestions;  // "caption|label"

    bool ExecuteOpen(QWidget*, TFileDialog& dialog) override;
    bool ExecuteSave(QWidget*, TFileDialog& dialog) override;
    QString ChooseFolder(QWidget*, const QString&, const QString& start) override;
    QMessageBox::StandardButton Ask(QWidget*, QMessageBox::Icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons) override;
    void ShowError(const QString& text) override { errors << text; }
    std::optional<QString> AskPassword(QWidget*, const QString& caption, const QString& label) override;

    QString lastFolderStart;
};

// A scripted prompter, a fresh temporary folder and fresh settings for each test.
class PromptedTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    QString Path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    static std::string ReadBytes(const QString& path);
    static void WriteBytes(const QString& path, const std::string& bytes);

    TScriptedPrompter* m_prompter = nullptr;
    QTemporaryDir m_dir;
    TSettingsFolder m_settings;

private:
    std::unique_ptr<TPrompter> m_previous;
    int m_lastResortAtStart = 0;
};

// The components the window's classes work on, and those classes, wired as
// the window wires them but without the window, its layout and its actions.
struct TEditorParts {
    explicit TEditorParts(const QStringList& arguments = {});

    TTreeList tree;
    TTreeListEvents treeEvents{tree};
    QWidget window;
    QLabel modifiedPanel;
    TFileDialogs fileDialogs;
    TDocumentSession session;
    TDescriptionEdit memo{[this] { return session.Protected(); }};
    TFindDialog findDialog;
    TReplaceDialog replaceDialog;
    TFontDialog fontDialog;
    TDescriptionPane pane;
    TTreeListView treeView;
    TIconComboBox iconComboBox;
    TItemCommands items;
    TExportCommands exports;
};

class PartsTest : public PromptedTest {
protected:
    // Starts the editor's parts as the window starts them.
    void Start(const QStringList& arguments = {});
    TTreeList& Tree() { return m_parts->tree; }
    bool Modified() const { return m_parts->session.Modified(); }

    std::unique_ptr<TEditorParts> m_parts;
};

class WindowTest : public PromptedTest {
protected:
    // Shown, with the command-line file loaded.
    std::unique_ptr<TfrmTreeViewEditorMain> MakeWindow(const QStringList& arguments = {});
    static void WaitForLoad(TfrmTreeViewEditorMain& window);
    // Runs a command the way the user does: through its action.
    static void Run(TfrmTreeViewEditorMain& window, TActionId id);
    // Runs each command that is enabled at its turn, as a user could, and
    // confirms Delete's question.
    void RunEnabled(TfrmTreeViewEditorMain& window, const std::vector<TActionId>& ids);
    static QAction* Action(const TfrmTreeViewEditorMain& window, TActionId id);
    // Opens the focused item's name in the in-place editor and types `name`
    // there, leaving the edit open.
    static void StartTypingName(TfrmTreeViewEditorMain& window, const QString& name);
};

// The 79-byte file of a top-level item "A" (icon 3, description "x") with one
// child "B" (icon 0, no description).
std::string WorkedExampleBytes();
