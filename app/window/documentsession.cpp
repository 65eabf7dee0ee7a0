#include "app/window/documentsession.h"

#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "app/window/filedialogs.h"
#include "app/window/prompter.h"
#include "app/window/waitcursor.h"
#include "document/treefile.h"
#include "document/treelist.h"
#include "document/undosteps.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <exception>
#include <stdexcept>
#include <string>
#include <thread>

#include <sodium.h>

#include <sys/stat.h>

namespace {
const QString TreeFileExt = QStringLiteral("trd");
const QString TreeFileFilter = QStringLiteral("VekTreeViewEditor File (*.trd)|*.trd");
const QString SavePrompt = QStringLiteral("Do you want to save the changes?");
const QString ChangedCaption = QStringLiteral("File Changed");

// Everything after the last path delimiter or drive colon.
QString FileNamePart(const QString& path)
{
    const int cut = std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                              path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}

// The password as the key derivation takes it (UTF-8). It overwrites the
// dialog's copy at once and its own when it goes: neither QString nor
// QByteArray wipes the memory it gives back.
class TPasswordBytes {
public:
    explicit TPasswordBytes(QString& password) : m_bytes(password.toUtf8())
    {
        password.fill(QChar(u'\0'));
    }
    ~TPasswordBytes()
    {
        if (!m_bytes.isEmpty())
            sodium_memzero(m_bytes.data(), static_cast<size_t>(m_bytes.size()));
    }
    TPasswordBytes(const TPasswordBytes&) = delete;
    TPasswordBytes& operator=(const TPasswordBytes&) = delete;
    std::string_view View() const { return {m_bytes.constData(), static_cast<size_t>(m_bytes.size())}; }

private:
    QByteArray m_bytes;
};
}  // namespace

// A file read on a worker thread. The worker touches nothing but its own
// tree and the fields it hands over; the window's thread sees `done` on a
// timer, and only then reads them.
class TDocumentSession::TBackgroundLoad {
public:
    explicit TBackgroundLoad(const QString& path) : m_path(path), m_fileName(path.toStdString())
    {
        m_started.start();
        m_worker = std::thread([this] {
            TTreeList read;
            try {
                LoadItems(read, m_fileName);
            } catch (...) {
                m_error = std::current_exception();
            }
            // Moving the items copies every string out of the file's bytes;
            // done here, the move into the document has nothing left to copy.
            m_tree.AppendItemsFrom(read);
            m_done = true;
        });
    }
    ~TBackgroundLoad()
    {
        if (m_worker.joinable())
            m_worker.join();
    }
    TBackgroundLoad(const TBackgroundLoad&) = delete;
    TBackgroundLoad& operator=(const TBackgroundLoad&) = delete;

    bool Done() const { return m_done; }
    // After Done: the tree read, and what went wrong.
    TTreeList& Tree()
    {
        m_worker.join();
        return m_tree;
    }
    std::exception_ptr Error() const { return m_error; }
    const QString& Path() const { return m_path; }
    qint64 ElapsedMs() const { return m_started.elapsed(); }
    QTimer& Timer() { return m_timer; }

private:
    const QString m_path;
    const std::string m_fileName;
    TTreeList m_tree;
    std::exception_ptr m_error;
    std::atomic<bool> m_done{false};
    QElapsedTimer m_started;
    QTimer m_timer;
    std::thread m_worker;  // last: it starts once everything it uses is there
};

TDocumentSession::TDocumentSession(TTreeList& tree, TFileDialogs& dialogs, QWidget& window, QLabel& modifiedPanel,
                                   QStringList arguments)
    : m_tree(tree), m_dialogs(dialogs), m_window(window), m_modifiedPanel(modifiedPanel),
      m_arguments(std::move(arguments)), m_history(tree)
{
    m_history.OnChanged = [this] { HistoryChanged(); };
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    // Both the file and its folder are watched: a file replaced by rename or
    // deleted and written anew shows in the folder.
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, [this] { m_settle.start(); });
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle, [this] { m_settle.start(); });
    QObject::connect(&m_settle, &QTimer::timeout, &m_settle, Guarded([this] { CheckFileOnDisk(); }));
}

bool TDocumentSession::TDiskStamp::operator==(const TDiskStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

TDocumentSession::TDiskStamp TDocumentSession::StampOf(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void TDocumentSession::KnowFile()
{
    m_known = m_answered = StampOf(FFileName);
    Rewatch();
}

void TDocumentSession::ForgetFile()
{
    m_settle.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watchedFile.clear();
    m_known = m_answered = {};
}

void TDocumentSession::Rewatch()
{
    if (FFileName.isEmpty())
        return;
    if (m_watchedFile != FFileName) {
        const TDiskStamp known = m_known, answered = m_answered;
        ForgetFile();
        m_known = known;
        m_answered = answered;
        m_watchedFile = FFileName;
        m_watcher.addPath(QFileInfo(FFileName).absolutePath());
    }
    if (m_watcher.files().contains(FFileName))
        m_watcher.removePath(FFileName);
    if (QFileInfo::exists(FFileName))
        m_watcher.addPath(FFileName);
}

// One question per version of the file that is neither ours nor already
// asked about; the answer stands until the file changes again.
void TDocumentSession::CheckFileOnDisk()
{
    if (FFileName.isEmpty() || m_asking)
        return;
    Rewatch();
    const TDiskStamp now = StampOf(FFileName);
    if (!now.exists || now == m_known || now == m_answered)
        return;
    m_answered = now;
    // A name still being typed is a change the question must know of.
    FinishEditing();
    const QString name = QDir::toNativeSeparators(FFileName);
    const QString text =
        FModified ? QStringLiteral("The file %1 was changed by another program.\n\nReload it and lose your changes? "
                                   "No keeps the document as it is.")
                        .arg(name)
                  : QStringLiteral("The file %1 was changed by another program.\n\nReload it?").arg(name);
    m_asking = true;
    const auto answer = Prompter().Ask(&m_window, QMessageBox::Warning, ChangedCaption, text,
                                       QMessageBox::Yes | QMessageBox::No);
    m_asking = false;
    if (answer == QMessageBox::Yes && StampOf(FFileName) == now) {
        const QString path = FFileName;  // the load starts by closing the document
        LoadDocument(path);
        return;
    }
    // It changed again while the question was open: that is a change of its own.
    if (StampOf(FFileName) != now)
        m_settle.start();
}

bool TDocumentSession::MayOverwrite()
{
    // Another file chosen with Save As was confirmed in the save dialog.
    if (FFileName != m_watchedFile)
        return true;
    const TDiskStamp now = StampOf(FFileName);
    if (!now.exists || now == m_known)
        return true;
    const QString text = QStringLiteral("The file %1 was changed by another program since it was opened or "
                                        "saved.\n\nOverwrite it with this document?")
                             .arg(QDir::toNativeSeparators(FFileName));
    return Prompter().Ask(&m_window, QMessageBox::Warning, ChangedCaption, text,
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

// A window closed while its file still loads waits for the worker.
TDocumentSession::~TDocumentSession() = default;

void TDocumentSession::UpdateTitle(bool modified)
{
    const QString name = FFileName.isEmpty() ? QStringLiteral("Untitled") : FileNamePart(FFileName);
    m_window.setWindowTitle(QStringLiteral("%1 - %2").arg(name, QString::fromLatin1(ApplicationTitle)));
    m_modifiedPanel.setText(modified ? QStringLiteral("Modified") : QString());
    if (m_protectionPanel)
        m_protectionPanel->setText(Protected() ? QStringLiteral("Protected") : QString());
}

void TDocumentSession::SetKey(std::shared_ptr<const TFileKey> key)
{
    if (key == m_key)
        return;
    m_key = std::move(key);
    m_clearExportConfirmed = false;
    if (OnProtectionChanged)
        OnProtectionChanged();
}

TKeySource TDocumentSession::PasswordQuestion(const QString& shownName, const std::string& fileName)
{
    return [this, shownName, fileName](const TProtectionHeader& header) -> std::shared_ptr<const TFileKey> {
        std::optional<QString> answer =
            Prompter().AskPassword(&m_window, QStringLiteral("Password"),
                                   QStringLiteral("%1 is protected by a password. Password:").arg(shownName));
        if (!answer)
            return nullptr;
        const TPasswordBytes password(*answer);
        TWaitCursor wait;
        return TFileKey::ForHeader(password.View(), header, fileName);
    };
}

void TDocumentSession::actFileSetPasswordExecute()
{
    FinishEditing();
    std::optional<QString> first =
        Prompter().AskPassword(&m_window, QStringLiteral("Set Password"), QStringLiteral("New password:"));
    if (!first)
        return;
    std::optional<QString> second =
        Prompter().AskPassword(&m_window, QStringLiteral("Set Password"), QStringLiteral("Repeat the password:"));
    if (!second) {
        first->fill(QChar(u'\0'));
        return;
    }
    const bool same = *first == *second;
    const TPasswordBytes password(*first);
    const TPasswordBytes repeated(*second);
    if (!same)
        throw std::runtime_error("The passwords do not match. The password was not changed");
    if (password.View().empty())
        throw std::runtime_error("The password must not be empty. The password was not changed");
    std::shared_ptr<const TFileKey> key;
    {
        TWaitCursor wait;
        key = TFileKey::Create(password.View(), m_protectionParams);
    }
    SetKey(std::move(key));
    // Not an undo step: the document's content stays as it is.
    MarkModified();
}

void TDocumentSession::actFileRemovePasswordExecute()
{
    if (!Protected())
        return;
    FinishEditing();
    SetKey(nullptr);
    MarkModified();
}

bool TDocumentSession::ConfirmClearExport()
{
    if (!Protected() || m_clearExportConfirmed)
        return true;
    const auto answer = Prompter().Ask(
        &m_window, QMessageBox::Warning, QStringLiteral("Export"),
        QStringLiteral("This document is protected by a password, but the export writes its text without "
                       "protection. Export anyway?"),
        QMessageBox::Yes | QMessageBox::No);
    m_clearExportConfirmed = answer == QMessageBox::Yes;
    return m_clearExportConfirmed;
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
    if (OnBeginChange)
        OnBeginChange();
}

void TDocumentSession::Record(std::unique_ptr<TUndoStep> step)
{
    if (step)
        m_history.Push(std::move(step));
    else
        HistoryChanged();
}

void TDocumentSession::RecordAppended(const char* stepName, int firstNew)
{
    const int count = m_tree.TopItemCount();
    if (firstNew >= count)
        return;
    auto step = std::make_unique<TInsertStep>(stepName);
    step->FocusBefore = step->FocusAfter = m_tree.FocusedItem();
    for (int i = firstNew; i < count; ++i)
        step->Add(m_tree, m_tree.TopItem(i));
    Record(std::move(step));
    m_tree.TopItem(count - 1)->MakeVisible();
    m_tree.TopItem(firstNew)->MakeVisible();
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
    if (OnSetModified)
        OnSetModified(modified);
}

void TDocumentSession::ShowDescription(TTreeListTextNode* item)
{
    if (OnShowDescription)
        OnShowDescription(item);
}

void TDocumentSession::FinishEditing()
{
    if (OnFinishEditing)
        OnFinishEditing();
}

void TDocumentSession::CloseDocument()
{
    // The steps go before the items they refer to.
    m_history.Clear();
    m_changedOutsideHistory = false;
    m_tree.ClearItems();
    if (OnClearDescription)
        OnClearDescription();
    SetModified(false);
    FFileName.clear();
    ForgetFile();
    SetKey(nullptr);
    UpdateTitle(false);
}

bool TDocumentSession::SaveDocument()
{
    if (!MayOverwrite())
        return false;
    // Typing still in the editor becomes its step first, so the saved state
    // is one the history can come back to.
    BeginChange();
    SaveItems(m_tree, FFileName.toStdString(), m_key.get());
    KnowFile();
    m_changedOutsideHistory = false;
    m_history.SetClean();
    return true;
}

// Asks where to save; the chosen path becomes the document's file name.
// An empty preset keeps the name the dialog held from its last use.
bool TDocumentSession::ChooseSaveName(const QString& preset)
{
    const QString path = m_dialogs.ExecuteSave(TreeFileExt, TreeFileFilter, preset);
    if (path.isEmpty())
        return false;
    FFileName = path;
    return true;
}

// The Save command; a failed save throws.
TDocumentSession::TSaveResult TDocumentSession::SaveCommand()
{
    // An untitled empty document has nothing to save. A named one is written,
    // or items deleted down to none would come back on reopening.
    if (m_tree.TopItemCount() == 0 && FFileName.isEmpty())
        return TSaveResult::NothingSaved;
    if (FFileName.isEmpty() && !ChooseSaveName(QString()))
        return TSaveResult::Cancelled;
    if (!SaveDocument())
        return TSaveResult::Cancelled;
    UpdateTitle(false);
    return TSaveResult::Saved;
}

// The one "save changes?" step before the document goes away (New, Close,
// Open, closing the window). Cancelled stops the command: so does a save
// dialog the user cancelled, and a failed save throws, because the changes
// must not be discarded behind the user's back. Yes on an untitled empty
// document has nothing to save and goes on like No.
TDocumentSession::TSaveResult TDocumentSession::SaveChanges()
{
    if (!FModified)
        return TSaveResult::NothingSaved;
    const auto answer = Prompter().Ask(&m_window, QMessageBox::Information, QStringLiteral("Information"),
                                       SavePrompt, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::Cancel)
        return TSaveResult::Cancelled;
    if (answer == QMessageBox::No)
        return TSaveResult::NothingSaved;
    return SaveCommand();
}

void TDocumentSession::NewOpenSaveSaveasClose(const QAction* sender)
{
    NewOpenSaveSaveasClose(TActionList::Tag(sender));
}

// A tag outside 11..15 does nothing.
void TDocumentSession::NewOpenSaveSaveasClose(int tag)
{
    if (tag >= static_cast<int>(TFileTag::New) && tag <= static_cast<int>(TFileTag::Close))
        FinishEditing();
    switch (static_cast<TFileTag>(tag)) {
    case TFileTag::New:
    case TFileTag::Close:
        if (SaveChanges() != TSaveResult::Cancelled)
            CloseDocument();
        return;
    case TFileTag::Open:
        OpenCommand();
        return;
    case TFileTag::Save:
        SaveCommand();
        return;
    case TFileTag::SaveAs:
        SaveAsCommand();
        return;
    }
}

void TDocumentSession::OpenCommand()
{
    const TSaveResult saved = SaveChanges();
    if (saved == TSaveResult::Cancelled)
        return;
    // Saved changes leave with their document: a cancelled open dialog then
    // leaves an empty, untitled window.
    if (saved == TSaveResult::Saved)
        CloseDocument();
    const QString path = m_dialogs.ExecuteOpen(TreeFileExt, TreeFileFilter);
    if (!path.isEmpty())
        LoadDocument(path);
}

void TDocumentSession::SaveAsCommand()
{
    if (m_tree.TopItemCount() == 0 || !ChooseSaveName(FFileName))
        return;
    if (SaveDocument())
        UpdateTitle(false);
}

void TDocumentSession::LoadDocument(const QString& path)
{
    // A protected file is asked for and decrypted before the document goes:
    // Cancel, a wrong password or a damaged file leave it as it was.
    std::optional<TTreeFileBytes> file;
    try {
        file = ReadTreeFile(path.toStdString(), PasswordQuestion(FileNamePart(path), path.toStdString()));
    } catch (const EProtectedFileError&) {
        throw;
    } catch (...) {
        CloseDocument();
        throw;
    }
    if (!file)
        return;
    CloseDocument();
    SetKey(file->key);
    try {
        ReadItems(m_tree, std::move(*file));
    } catch (...) {
        // The damaged or locked file must not become the save target; what
        // was read stays, as an untitled document.
        m_changedOutsideHistory = m_tree.TopItemCount() > 0;
        SetModified(m_changedOutsideHistory);
        UpdateTitle(FModified);
        ShowDescription(m_tree.FocusedItem());
        throw;
    }
    FFileName = path;
    KnowFile();
    UpdateTitle(false);
    ShowDescription(m_tree.TopItem(0));
}

QString TDocumentSession::CommandLineFile() const
{
    return m_arguments.isEmpty() ? QString() : m_arguments.constFirst();
}

bool TDocumentSession::OpenRecovered(const QString& copyPath, const QString& fileName)
{
    CloseDocument();
    const QString shownName = fileName.isEmpty() ? QStringLiteral("Untitled") : FileNamePart(fileName);
    try {
        std::optional<TTreeFileBytes> file =
            ReadTreeFile(copyPath.toStdString(), PasswordQuestion(shownName, copyPath.toStdString()));
        if (!file)
            return false;
        SetKey(file->key);
        ReadItems(m_tree, std::move(*file));
    } catch (...) {
        CloseDocument();
        throw;
    }
    FFileName = fileName;
    KnowFile();
    MarkModified();
    ShowDescription(m_tree.TopItem(0));
    return true;
}

void TDocumentSession::FormShow()
{
    const QString path = CommandLineFile();
    if (path.isEmpty())
        return;
    if (QFileInfo(path).isFile())
        LoadDocument(path);
    UpdateTitle(false);
}

// The first bytes of a protected tree file; a file that cannot be read is
// left to the load, which reports it.
bool TDocumentSession::StartsAsProtected(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(64);
    return HasProtectionMarker(head.constData(), static_cast<size_t>(head.size()));
}

bool TDocumentSession::Loading() const
{
    return m_load != nullptr;
}

void TDocumentSession::FormShowInBackground()
{
    const QString path = CommandLineFile();
    UpdateTitle(false);
    if (path.isEmpty() || !QFileInfo(path).isFile() || m_load)
        return;
    // A protected file asks for its password first, on this thread.
    if (StartsAsProtected(path)) {
        LoadDocument(path);
        return;
    }
    m_load = std::make_unique<TBackgroundLoad>(path);
    // Short loads end without a word; longer ones say how long they have run.
    constexpr int ProgressAfterMs = 300;
    QTimer& timer = m_load->Timer();
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, &m_window, [this] {
        if (m_load->Done()) {
            RunGuarded([this] { FinishBackgroundLoad(); });
        } else if (m_load->ElapsedMs() >= ProgressAfterMs && OnLoadProgress) {
            OnLoadProgress(QStringLiteral("Loading %1 ... %2 s")
                               .arg(FileNamePart(m_load->Path()))
                               .arg(static_cast<double>(m_load->ElapsedMs()) / 1000.0, 0, 'f', 1));
        }
    });
    timer.start();
}

void TDocumentSession::FinishBackgroundLoad()
{
    const std::unique_ptr<TBackgroundLoad> load = std::move(m_load);
    load->Timer().stop();
    if (OnLoadProgress)
        OnLoadProgress(QString());
    TTreeList& read = load->Tree();
    CloseDocument();
    // One insertion for the view, as LoadDocument's one reset.
    m_tree.AppendItemsFrom(read);
    if (load->Error()) {
        // As LoadDocument: what was read stays, as an untitled document.
        m_changedOutsideHistory = m_tree.TopItemCount() > 0;
        SetModified(m_changedOutsideHistory);
        UpdateTitle(FModified);
        ShowDescription(m_tree.FocusedItem());
        std::rethrow_exception(load->Error());
    }
    FFileName = load->Path();
    KnowFile();
    UpdateTitle(false);
    ShowDescription(m_tree.TopItem(0));
}

bool TDocumentSession::FormCloseQuery()
{
    FinishEditing();
    return SaveChanges() != TSaveResult::Cancelled;
}
