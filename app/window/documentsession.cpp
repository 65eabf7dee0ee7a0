#include "app/window/documentsession.h"

#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "app/window/documentprotection.h"
#include "app/window/filecommands.h"
#include "app/window/filewatcher.h"
#include "app/window/unfinishededit.h"
#include "document/treelist.h"
#include "document/undosteps.h"
#include "settings/recentfiles.h"

#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <iterator>

namespace {
// The file commands' tags as their actions carry them.
struct TFileCommand {
    int tag;
    void (TDocumentSession::*handler)();
};
constexpr TFileCommand FileCommands[] = {
    {11, &TDocumentSession::actFileNewExecute},    {12, &TDocumentSession::actFileOpenExecute},
    {13, &TDocumentSession::actFileSaveExecute},   {14, &TDocumentSession::actFileSaveAsExecute},
    {15, &TDocumentSession::actFileCloseExecute},
};
}  // namespace

TDocumentSession::TDocumentSession(TTreeList& tree, TFileDialogs& dialogs, QWidget& window, QLabel& modifiedPanel,
                                   QStringList arguments)
    : m_tree(tree), m_window(window), m_modifiedPanel(modifiedPanel), m_history(tree),
      m_protection(std::make_unique<TDocumentProtection>(*this, window)),
      m_watcher(std::make_unique<TFileWatcher>(*this, window)),
      m_files(std::make_unique<TFileCommands>(*this, tree, dialogs, window, std::move(arguments)))
{
    m_history.OnChanged = [this] { HistoryChanged(); };
    connect(m_protection.get(), &TDocumentProtection::Changed, this, &TDocumentSession::ProtectionChanged);
    connect(m_files.get(), &TFileCommands::LoadProgress, this, &TDocumentSession::LoadProgress);
}

TDocumentSession::~TDocumentSession() = default;

void TDocumentSession::SetNameEdit(TUnfinishedEdit& edit)
{
    m_nameEdit = &edit;
}

void TDocumentSession::SetTyping(TUnfinishedEdit& typing)
{
    m_typing = &typing;
}

QString TDocumentSession::FileNamePart(const QString& path)
{
    const int cut = std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                              path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}

void TDocumentSession::UpdateTitle(bool modified)
{
    const QString name = FFileName.isEmpty() ? tr("Untitled") : FileNamePart(FFileName);
    m_window.setWindowTitle(QStringLiteral("%1 - %2").arg(name, QString::fromLatin1(ApplicationTitle)));
    m_modifiedPanel.setText(modified ? tr("Modified") : QString());
    m_protection->UpdatePanel();
}

void TDocumentSession::MarkModified()
{
    m_changedOutsideHistory = true;
    MarkEdited();
}

void TDocumentSession::MarkEdited()
{
    SetModified(true);
    UpdateTitle(true);
}

void TDocumentSession::BeginChange()
{
    if (m_typing)
        m_typing->FinishEdit();
}

void TDocumentSession::FinishEditing()
{
    if (m_nameEdit)
        m_nameEdit->FinishEdit();
}

void TDocumentSession::Record(std::unique_ptr<TUndoStep> step)
{
    if (step)
        m_history.Push(std::move(step));
    else
        HistoryChanged();
}

void TDocumentSession::RecordAppended(const char* stepName, int firstNew, TTreeListTextNode* parent)
{
    const int count = parent ? parent->Count() : m_tree.TopItemCount();
    if (firstNew >= count)
        return;
    auto item = [this, parent](int i) { return parent ? parent->Child(i) : m_tree.TopItem(i); };
    auto step = std::make_unique<TInsertStep>(stepName);
    step->FocusBefore = step->FocusAfter = m_tree.FocusedItem();
    for (int i = firstNew; i < count; ++i)
        step->Add(m_tree, item(i));
    Record(std::move(step));
    item(count - 1)->MakeVisible();
    item(firstNew)->MakeVisible();
}

// Undoing back to the state of the file makes the document unmodified again.
void TDocumentSession::HistoryChanged()
{
    const bool modified = m_changedOutsideHistory || !m_history.IsClean();
    SetModified(modified);
    UpdateTitle(modified);
}

// The one place FModified changes, so whatever follows it hooks in here.
void TDocumentSession::SetModified(bool modified)
{
    FModified = modified;
    emit ModifiedSet(modified);
}

void TDocumentSession::CloseDocument()
{
    // A save still being written names this document's file and history.
    m_files->WaitForSave();
    // The steps go before the items they refer to.
    m_history.Clear();
    m_changedOutsideHistory = false;
    m_tree.ClearItems();
    emit Closed();
    SetModified(false);
    FFileName.clear();
    m_watcher->ForgetFile();
    m_protection->SetKey(nullptr);
    UpdateTitle(false);
}

void TDocumentSession::NameFile(const QString& path)
{
    FFileName = path;
}

void TDocumentSession::Saved()
{
    m_history.MarkSaving();
    SavedAtMark();
}

void TDocumentSession::SavedAtMark()
{
    m_watcher->KnowFile();
    m_protection->NoteFile(FFileName);
    m_changedOutsideHistory = false;
    m_history.SetCleanAtMark();
    TRecentFiles::Note(FFileName);
    emit Written();
}

bool TDocumentSession::Saving() const
{
    return m_files->Saving();
}

bool TDocumentSession::SaveWriting() const
{
    return m_files->SaveWriting();
}

void TDocumentSession::WaitForSave()
{
    m_files->WaitForSave();
}

void TDocumentSession::SetBackgroundSaveFrom(size_t bytes)
{
    m_files->SetBackgroundSaveFrom(bytes);
}

void TDocumentSession::Loaded(const QString& path)
{
    FFileName = path;
    m_watcher->KnowFile();
    m_protection->NoteFile(path);
    UpdateTitle(false);
    TRecentFiles::Note(path);
    emit Opened(m_tree.TopItem(0));
}

void TDocumentSession::LoadFailed()
{
    // The damaged or locked file must not become the save target.
    m_changedOutsideHistory = m_tree.TopItemCount() > 0;
    SetModified(m_changedOutsideHistory);
    UpdateTitle(FModified);
    emit Opened(m_tree.FocusedItem());
}

void TDocumentSession::Recovered(const QString& fileName)
{
    FFileName = fileName;
    m_watcher->KnowFile();
    MarkModified();
    emit Opened(m_tree.TopItem(0));
}

void TDocumentSession::Reload(const QString& path)
{
    m_files->LoadDocument(path);
}

bool TDocumentSession::Protected() const
{
    return m_protection->Protected();
}

const std::shared_ptr<const TFileKey>& TDocumentSession::Key() const
{
    return m_protection->Key();
}

void TDocumentSession::SetProtectionParams(const TProtectionParams& params)
{
    m_protection->SetProtectionParams(params);
}

void TDocumentSession::SetProtectionPanel(QLabel* panel)
{
    m_protection->SetProtectionPanel(panel);
}

void TDocumentSession::actFileSetPasswordExecute()
{
    m_protection->actFileSetPasswordExecute();
}

void TDocumentSession::actFileRemovePasswordExecute()
{
    m_protection->actFileRemovePasswordExecute();
}

bool TDocumentSession::ConfirmClearExport()
{
    return m_protection->ConfirmClearExport();
}

void TDocumentSession::actFileNewExecute()
{
    m_files->actFileNewExecute();
}

void TDocumentSession::actFileOpenExecute()
{
    m_files->actFileOpenExecute();
}

void TDocumentSession::actFileSaveExecute()
{
    m_files->actFileSaveExecute();
}

void TDocumentSession::actFileSaveAsExecute()
{
    m_files->actFileSaveAsExecute();
}

void TDocumentSession::actFileCloseExecute()
{
    m_files->actFileCloseExecute();
}

void TDocumentSession::OpenRecent(const QString& path)
{
    m_files->OpenRecent(path);
}

bool TDocumentSession::SaveAutomatically()
{
    return m_files->SaveAutomatically();
}

void TDocumentSession::actFileClearRecentExecute()
{
    TRecentFiles::Clear();
}

void TDocumentSession::NewOpenSaveSaveasClose(const QAction* sender)
{
    NewOpenSaveSaveasClose(TActionList::Tag(sender));
}

void TDocumentSession::NewOpenSaveSaveasClose(int tag)
{
    const auto command = std::find_if(std::begin(FileCommands), std::end(FileCommands),
                                      [tag](const TFileCommand& c) { return c.tag == tag; });
    if (command != std::end(FileCommands))
        (this->*command->handler)();
}

void TDocumentSession::FormShow()
{
    m_files->FormShow();
}

QString TDocumentSession::CommandLineFile() const
{
    return m_files->CommandLineFile();
}

void TDocumentSession::FormShowInBackground()
{
    m_files->FormShowInBackground();
}

bool TDocumentSession::Loading() const
{
    return m_files->Loading();
}

bool TDocumentSession::OpenRecovered(const QString& copyPath, const QString& fileName)
{
    return m_files->OpenRecovered(copyPath, fileName);
}

bool TDocumentSession::FormCloseQuery()
{
    return m_files->FormCloseQuery();
}
