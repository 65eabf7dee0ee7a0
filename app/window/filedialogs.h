#pragma once

#include "app/window/prompter.h"

#include <QCoreApplication>
#include <QString>

class QWidget;

// The open and save dialogs that the window's commands share (tree data
// files, description text files, exports), and the folder of the file last
// chosen in either, where the folder dialog starts.
class TFileDialogs {
public:
    // Description text files and the single-file exports share these.
    static constexpr const char TextFileExt[] = "txt";
    static constexpr const char TextFileFilter[] = QT_TRANSLATE_NOOP("TFileDialog", "Text Files (*.txt)|*.txt|All Files (*.*)|*.*");
    // The settings section of the folders last used, by dialog name.
    static constexpr const char LastFoldersSection[] = "LastFolders";

    explicit TFileDialogs(QWidget* owner);

    TFileDialog& OpenDialog1() { return m_openDialog; }
    TFileDialog& SaveDialog1() { return m_saveDialog; }

    // Each use sets the dialog's default extension and filter, then shows it.
    // The result is the chosen path, empty when the user cancelled.
    QString ExecuteOpen(const QString& defaultExt, const QString& filter);
    // A non-empty preset replaces the file name the dialog kept from its last use.
    QString ExecuteSave(const QString& defaultExt, const QString& filter, const QString& preset = QString());
    // Starts at the folder of the last file chosen in any dialog, else the working directory.
    QString ChooseFolder(const QString& caption);

private:
    // The path chosen in the dialog; its folder is where the folder dialog starts next.
    QString Chosen(TFileDialog& dialog);

    QWidget* m_owner;
    TFileDialog m_openDialog;
    TFileDialog m_saveDialog;
    QString m_lastFolder;
};
