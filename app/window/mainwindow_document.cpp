#include "app/window/mainwindow.h"

#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "document/treefile.h"

#include <QAction>
#include <QFileInfo>
#include <QLabel>

namespace {
const char TreeFileExt[] = "trd";
const char TreeFileFilter[] = "VekTreeViewEditor File (*.trd)|*.trd";
const char SavePrompt[] = "Do you want to save the changes?";

enum : int { tagNew = 11, tagOpen = 12, tagSave = 13, tagSaveAs = 14, tagClose = 15 };

void PrepareTreeFileDialog(TFileDialog& dialog)
{
    dialog.DefaultExt = QString::fromLatin1(TreeFileExt);
    dialog.Filter = QString::fromLatin1(TreeFileFilter);
}

// Everything after the last path delimiter or drive colon.
QString FileNamePart(const QString& path)
{
    const int cut = std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                              path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}
}  // namespace

void TfrmTreeViewEditorMain::UpdateTitle(bool modified)
{
    const QString name = FFileName.isEmpty() ? QStringLiteral("Untitled") : FileNamePart(FFileName);
    setWindowTitle(QStringLiteral("%1 - %2").arg(name, QString::fromLatin1(ApplicationTitle)));
    m_statusPanels[1]->setText(modified ? QStringLiteral("Modified") : QString());
}

void TfrmTreeViewEditorMain::CloseDocument()
{
    m_tree.ClearItems();
    ClearDescription();
    FModified = false;
    FFileName.clear();
    UpdateTitle(false);
}

void TfrmTreeViewEditorMain::SaveDocument()
{
    SaveItems(m_tree, FFileName.toStdString());
    FModified = false;
}

// Asks where to save; the chosen path becomes the document's file name.
// An empty preset keeps the name the dialog held from its last use.
bool TfrmTreeViewEditorMain::ChooseSaveName(const QString& preset)
{
    PrepareTreeFileDialog(m_saveDialog);
    if (!preset.isEmpty())
        m_saveDialog.FileName = preset;
    if (!Prompter().ExecuteSave(this, m_saveDialog))
        return false;
    RememberFolder(m_saveDialog.FileName);
    FFileName = m_saveDialog.FileName;
    return true;
}

// False when the user cancelled the save dialog; a failed save throws.
bool TfrmTreeViewEditorMain::SaveAndCloseDocument()
{
    if (FFileName.isEmpty() && !ChooseSaveName(QString()))
        return false;
    SaveDocument();
    CloseDocument();
    return true;
}

// The Save command. False when nothing was saved although the document
// still holds changes (dialog cancelled); a failed save throws.
bool TfrmTreeViewEditorMain::SaveCommand()
{
    if (m_tree.TopItemCount() == 0) {
        // An untitled empty document has nothing to save. A named one is
        // written, or items deleted down to none would come back on reopening.
        if (FFileName.isEmpty())
            return true;
        SaveDocument();
        UpdateTitle(false);
        return true;
    }
    if (FFileName.isEmpty() && !ChooseSaveName(QString()))
        return false;
    SaveDocument();
    UpdateTitle(false);
    return true;
}

QMessageBox::StandardButton TfrmTreeViewEditorMain::AskSaveChanges()
{
    return Prompter().Ask(this, QMessageBox::Information, QStringLiteral("Information"),
                          QString::fromLatin1(SavePrompt),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

void TfrmTreeViewEditorMain::NewOpenSaveSaveasClose(QAction* sender)
{
    NewOpenSaveSaveasClose(TActionList::Tag(sender));
}

void TfrmTreeViewEditorMain::NewOpenSaveSaveasClose(int tag)
{
    switch (tag) {
    case tagNew:
    case tagClose:
        if (FModified) {
            const auto answer = AskSaveChanges();
            if (answer == QMessageBox::Cancel)
                return;
            if (answer == QMessageBox::Yes) {
                // Nothing to save in an untitled empty document: Yes closes it like No.
                if (m_tree.TopItemCount() == 0 && FFileName.isEmpty()) {
                    CloseDocument();
                    return;
                }
                if (m_tree.TopItemCount() == 0)
                    SaveDocument();
                else if (!SaveAndCloseDocument())
                    return;
            }
        }
        CloseDocument();
        return;
    case tagOpen: {
        if (FModified) {
            const auto answer = AskSaveChanges();
            if (answer == QMessageBox::Cancel)
                return;
            if (answer == QMessageBox::Yes) {
                if (m_tree.TopItemCount() > 0) {
                    // A save that was cancelled or failed stops the Open: the
                    // changes must not be discarded behind the user's back.
                    if (!SaveAndCloseDocument())
                        return;
                } else if (!FFileName.isEmpty()) {
                    SaveDocument();
                    CloseDocument();
                }
            }
        }
        PrepareTreeFileDialog(m_openDialog);
        if (!Prompter().ExecuteOpen(this, m_openDialog))
            return;
        RememberFolder(m_openDialog.FileName);
        LoadDocument(m_openDialog.FileName);
        return;
    }
    case tagSave:
        SaveCommand();
        return;
    case tagSaveAs:
        if (m_tree.TopItemCount() == 0)
            return;
        if (!ChooseSaveName(FFileName))
            return;
        SaveDocument();
        UpdateTitle(false);
        return;
    default:
        return;
    }
}

void TfrmTreeViewEditorMain::LoadDocument(const QString& path)
{
    m_tree.ClearItems();
    ClearDescription();
    FModified = false;
    FFileName.clear();
    UpdateTitle(false);
    try {
        LoadItems(m_tree, path.toStdString());
    } catch (...) {
        // The damaged or locked file must not become the save target; what
        // was read stays, as an untitled document.
        FModified = m_tree.TopItemCount() > 0;
        UpdateTitle(FModified);
        RefreshDescription(m_tree.FocusedItem());
        throw;
    }
    FFileName = path;
    UpdateTitle(false);
    RefreshDescription(m_tree.TopItem(0));
}

void TfrmTreeViewEditorMain::FormShow()
{
    if (m_arguments.isEmpty() || m_arguments.constFirst().isEmpty())
        return;
    const QString path = m_arguments.constFirst();
    if (QFileInfo(path).isFile())
        LoadDocument(path);
    UpdateTitle(false);
}

bool TfrmTreeViewEditorMain::FormCloseQuery()
{
    if (!FModified)
        return true;
    const auto answer = AskSaveChanges();
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::No)
        return true;
    // Yes: the window stays open unless the changes really reached the disk
    // (a cancelled dialog or a failed save would otherwise lose them).
    bool saved = false;
    Protected([&] { saved = SaveCommand(); });
    return saved;
}
