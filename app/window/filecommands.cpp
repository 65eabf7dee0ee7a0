#include "app/window/filecommands.h"

#include "app/window/application.h"
#include "app/window/backgroundload.h"
#include "app/window/backgroundsave.h"
#include "app/window/documentprotection.h"
#include "app/window/documentsession.h"
#include "app/window/filedialogs.h"
#include "app/window/filewatcher.h"
#include "app/window/prompter.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "settings/editoroptions.h"
#include "settings/recentfiles.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <optional>
#include <utility>

namespace {
const QString TreeFileExt = QStringLiteral("trd");
const QString TreeFileFilter = QStringLiteral(QT_TRANSLATE_NOOP("TFileDialog", "VekTreeViewEditor File (*.trd)|*.trd"));
const char SavePrompt[] = QT_TRANSLATE_NOOP("TFileCommands", "Do you want to save the changes?");
}  // namespace

TFileCommands::TFileCommands(TDocumentSession& session, TTreeList& tree, TFileDialogs& dialogs, QWidget& window,
                             QStringList arguments)
    : m_session(session), m_tree(tree), m_dialogs(dialogs), m_window(window), m_startFile(StartFile(arguments))
{
}

QString TFileCommands::StartFile(const QStringList& arguments)
{
    if (!arguments.isEmpty())
        return arguments.constFirst();
    return TEditorOptions::Read().ReopenLast ? TRecentFiles::Read().value(0) : QString();
}

TFileCommands::~TFileCommands() = default;

void TFileCommands::actFileNewExecute()
{
    CloseCommand();
}

void TFileCommands::actFileCloseExecute()
{
    CloseCommand();
}

void TFileCommands::CloseCommand()
{
    m_session.FinishEditing();
    if (SaveChanges() != TSaveResult::Cancelled)
        m_session.CloseDocument();
}

void TFileCommands::actFileOpenExecute()
{
    m_session.FinishEditing();
    const TSaveResult saved = SaveChanges();
    if (saved == TSaveResult::Cancelled)
        return;
    // Saved changes leave with their document: a cancelled open dialog then
    // leaves an empty, untitled window.
    if (saved == TSaveResult::Saved)
        m_session.CloseDocument();
    const QString path = m_dialogs.ExecuteOpen(TreeFileExt, TreeFileFilter);
    if (!path.isEmpty())
        LoadDocument(path);
}

void TFileCommands::OpenRecent(const QString& path)
{
    m_session.FinishEditing();
    if (!QFileInfo(path).isFile()) {
        TRecentFiles::Forget(path);
        Prompter().Ask(&m_window, QMessageBox::Warning, QString::fromLatin1(ApplicationTitle),
                       tr("%1 no longer exists. It is removed from the recent files.").arg(path), QMessageBox::Ok);
        return;
    }
    if (SaveChanges() != TSaveResult::Cancelled)
        LoadDocument(path);
}

bool TFileCommands::SaveAutomatically()
{
    if (m_session.FileName().isEmpty() || !SaveDocument(TSaveMode::InBackground))
        return false;
    m_session.UpdateTitle(m_session.Modified());
    return true;
}

void TFileCommands::actFileSaveExecute()
{
    m_session.FinishEditing();
    SaveCommand(TSaveMode::InBackground);
}

void TFileCommands::actFileSaveAsExecute()
{
    m_session.FinishEditing();
    WaitForSave();
    if (m_tree.TopItemCount() == 0 || !ChooseSaveName(m_session.FileName()))
        return;
    if (SaveDocument(TSaveMode::InBackground))
        m_session.UpdateTitle(m_session.Modified());
}

bool TFileCommands::SaveDocument(TSaveMode mode)
{
    WaitForSave();
    if (!m_session.Watcher().MayOverwrite())
        return false;
    // Typing still in the editor becomes its step first, so the saved state
    // is one the history can come back to.
    m_session.BeginChange();
    if (mode == TSaveMode::InBackground && m_tree.MemoryBytes() >= m_backgroundFrom) {
        m_tree.CommitEdits();
        m_session.History().MarkSaving();
        m_save = std::make_unique<TBackgroundSave>(m_tree, m_session.FileName().toStdString(), m_session.Key());
        connect(m_save.get(), &TBackgroundSave::Finished, this, &TFileCommands::SaveFinished);
        return true;
    }
    SaveItems(m_tree, m_session.FileName().toStdString(), m_session.Key().get());
    m_session.Saved();
    return true;
}

void TFileCommands::EndSave()
{
    if (!m_save)
        return;
    m_save->Wait();
    const std::unique_ptr<TBackgroundSave> save = std::move(m_save);
    if (std::exchange(m_closeAfterSave, false))
        QApplication::restoreOverrideCursor();
    if (save->Error())
        std::rethrow_exception(save->Error());
    // Typing that came during the save is a change after it.
    m_session.BeginChange();
    m_tree.CompactTexts();
    m_session.SavedAtMark();
}

// The worker has ended: the error box, if any, comes before the close
// that waited, and the close then asks as it always does.
void TFileCommands::SaveFinished()
{
    const bool close = m_closeAfterSave;
    RunGuarded([this] { EndSave(); });
    if (close)
        m_window.close();
}

bool TFileCommands::SaveWriting() const
{
    return m_save && m_save->Writing();
}

void TFileCommands::WaitForSave()
{
    const bool close = m_closeAfterSave;
    EndSave();
    if (close)
        QTimer::singleShot(0, &m_window, &QWidget::close);
}

// Asks where to save; the chosen path becomes the document's file name.
// An empty preset keeps the name the dialog held from its last use.
bool TFileCommands::ChooseSaveName(const QString& preset)
{
    const QString path = m_dialogs.ExecuteSave(TreeFileExt, TreeFileFilter, preset);
    if (path.isEmpty())
        return false;
    m_session.NameFile(path);
    return true;
}

// The Save command; a failed save throws.
TFileCommands::TSaveResult TFileCommands::SaveCommand(TSaveMode mode)
{
    // An untitled empty document has nothing to save. A named one is written,
    // or items deleted down to none would come back on reopening.
    if (m_tree.TopItemCount() == 0 && m_session.FileName().isEmpty())
        return TSaveResult::NothingSaved;
    if (m_session.FileName().isEmpty() && !ChooseSaveName(QString()))
        return TSaveResult::Cancelled;
    if (!SaveDocument(mode))
        return TSaveResult::Cancelled;
    m_session.UpdateTitle(m_session.Modified());
    return TSaveResult::Saved;
}

// The one "save changes?" step before the document goes away (New, Close,
// Open, closing the window). Cancelled stops the command: so does a save
// dialog the user cancelled, and a failed save throws, because the changes
// must not be discarded behind the user's back. Yes on an untitled empty
// document has nothing to save and goes on like No.
TFileCommands::TSaveResult TFileCommands::SaveChanges()
{
    if (!m_session.Modified())
        return TSaveResult::NothingSaved;
    const auto answer = Prompter().Ask(&m_window, QMessageBox::Information, tr("Information"),
                                       tr(SavePrompt), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return TSaveResult::Cancelled;
    if (answer == QMessageBox::No)
        return TSaveResult::NothingSaved;
    // The document goes once this returns: it is written first.
    return SaveCommand(TSaveMode::Now);
}

void TFileCommands::LoadDocument(const QString& path)
{
    TDocumentProtection& protection = m_session.Protection();
    // A protected file is asked for and decrypted before the document goes:
    // Cancel, a wrong password or a damaged file leave it as it was.
    std::optional<TTreeFileBytes> file;
    try {
        file = ReadTreeFile(path.toStdString(),
                            protection.PasswordQuestion(TDocumentSession::FileNamePart(path), path.toStdString()));
    } catch (const EProtectedFileError&) {
        throw;
    } catch (...) {
        m_session.CloseDocument();
        throw;
    }
    if (!file || (!file->key && !protection.ConfirmClearFile(path)))
        return;
    m_session.CloseDocument();
    protection.SetKey(file->key);
    try {
        ReadItems(m_tree, std::move(*file));
    } catch (...) {
        m_session.LoadFailed();
        throw;
    }
    m_session.Loaded(path);
}

QString TFileCommands::CommandLineFile() const
{
    return m_startFile;
}

bool TFileCommands::OpenRecovered(const QString& copyPath, const QString& fileName)
{
    m_session.CloseDocument();
    TDocumentProtection& protection = m_session.Protection();
    const QString shownName =
        fileName.isEmpty() ? tr("Untitled") : TDocumentSession::FileNamePart(fileName);
    try {
        std::optional<TTreeFileBytes> file =
            ReadTreeFile(copyPath.toStdString(), protection.PasswordQuestion(shownName, copyPath.toStdString()));
        if (!file)
            return false;
        protection.SetKey(file->key);
        ReadItems(m_tree, std::move(*file));
    } catch (...) {
        m_session.CloseDocument();
        throw;
    }
    m_session.Recovered(fileName);
    return true;
}

void TFileCommands::FormShow()
{
    const QString path = CommandLineFile();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).isFile())
        LoadDocument(path);
    m_session.UpdateTitle(false);
}

// The first bytes of a protected tree file; a file that cannot be read is
// left to the load, which reports it.
bool TFileCommands::StartsAsProtected(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    return HasProtectionMarker(head.constData(), static_cast<size_t>(head.size()));
}

bool TFileCommands::Loading() const
{
    return m_load != nullptr;
}

void TFileCommands::FormShowInBackground()
{
    const QString path = CommandLineFile();
    m_session.UpdateTitle(false);
    if (path.isEmpty() || !QFileInfo(path).isFile() || m_load)
        return;
    // A protected file asks for its password first, on this thread.
    if (StartsAsProtected(path)) {
        LoadDocument(path);
        return;
    }
    if (!m_session.Protection().ConfirmClearFile(path))
        return;
    m_load = std::make_unique<TBackgroundLoad>(path, m_tree);
    // Short loads end without a word; longer ones say how long they have run.
    constexpr int ProgressAfterMs = 300;
    QTimer& timer = m_load->Timer();
    timer.setInterval(50);
    connect(&timer, &QTimer::timeout, this, Guarded([this] {
        if (m_load->Done()) {
            FinishBackgroundLoad();
        } else if (m_load->ElapsedMs() >= ProgressAfterMs) {
            emit LoadProgress(tr("Loading %1 ... %2 s")
                                  .arg(TDocumentSession::FileNamePart(m_load->Path()))
                                  .arg(static_cast<double>(m_load->ElapsedMs()) / 1000.0, 0, 'f', 1));
        }
    }));
    timer.start();
}

void TFileCommands::FinishBackgroundLoad()
{
    const std::unique_ptr<TBackgroundLoad> load = std::move(m_load);
    load->Timer().stop();
    emit LoadProgress(QString());
    TTreeList& read = load->Tree();
    m_session.CloseDocument();
    // One insertion for the view, as LoadDocument's one reset.
    m_tree.AppendItemsFrom(read);
    if (load->Error()) {
        // As LoadDocument: what was read stays, as an untitled document.
        m_session.LoadFailed();
        std::rethrow_exception(load->Error());
    }
    m_session.Loaded(load->Path());
}

bool TFileCommands::FormCloseQuery()
{
    if (m_save) {
        if (!std::exchange(m_closeAfterSave, true))
            QApplication::setOverrideCursor(Qt::WaitCursor);
        return false;
    }
    m_session.FinishEditing();
    return SaveChanges() != TSaveResult::Cancelled;
}
