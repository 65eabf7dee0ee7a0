#pragma once

#include "app/window/mainwindow.h"
#include "app/window/prompter.h"
#include "document/treefile.h"
#include "document/treelist.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <gtest/gtest.h>
#include <memory>

// Answers the window's questions from a script, so no real dialog opens.
class TScriptedPrompter : public TPrompter {
public:
    std::deque<QString> files;  // an empty entry cancels that dialog
    std::deque<QMessageBox::StandardButton> answers;
    std::deque<QString> folders;
    QStringList questions;  // "caption|text"
    QStringList errors;
    QStringList dialogs;  // "open:<ext>" or "save:<ext>:<preset file name>"

    bool ExecuteOpen(QWidget*, TFileDialog& dialog) override;
    bool ExecuteSave(QWidget*, TFileDialog& dialog) override;
    QString ChooseFolder(QWidget*, const QString&, const QString& start) override;
    QMessageBox::StandardButton Ask(QWidget*, QMessageBox::Icon, const QString& caption, const QString& text,
                                    QMessageBox::StandardButtons) override;
    void ShowError(const QString& text) override { errors << text; }

    QString lastFolderStart;
};

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::unique_ptr<TfrmTreeViewEditorMain> MakeWindow(const QStringList& arguments = {});
    QString Path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    static std::string ReadBytes(const QString& path);
    static void WriteBytes(const QString& path, const std::string& bytes);
    // Runs a command the way the user does: through its action.
    static void Run(TfrmTreeViewEditorMain& window, const char* action);

    TScriptedPrompter* m_prompter = nullptr;
    QTemporaryDir m_dir;

private:
    std::unique_ptr<TPrompter> m_previous;
};

// The 79-byte file of a top-level item "A" (icon 3, description "x") with one
// child "B" (icon 0, no description).
std::string WorkedExampleBytes();
