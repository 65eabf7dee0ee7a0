#include "app/window/documentsession.h"

#include "app/window/actionlist.h"
#include "app/window/application.h"
#include "app/window/filedialogs.h"
#include "app/window/prompter.h"
#include "document/treefile.h"
#include "document/treelist.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <atomic>
#include <exception>
#include <string>
#include <thread>

namespace {
const QString TreeFileExt = QStringLiteral("trd");
const QString TreeFileFilter = QStringLiteral("VekTreeViewEditor File (*.trd)|*.trd");
const QString SavePrompt = QStringLiteral("Do you want to save the changes?");

// Everything after the last path delimiter or drive colon.
QString FileNamePart(const QString& path)
{
    const int cut = std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                              path.lastIndexOf(QLatin1Char(':'))});
    return path.mid(cut + 1);
}
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
      m_arguments(std::move(arguments))
{
}

// A window closed while its file still loads waits for the worker.
TDocumentSession::~TDocumentSession() = default;

void TDocumentSession::UpdateTitle(bool modified)
{
    const QString name = FFileName.isEmpty() ? QStringLiteral("Untitled") : FileNamePart(FFileName);
    m_window.setWindowTitle(QStringLiteral("%1 - %2").arg(name, QString::fromLatin1(ApplicationTitle)));
    m_modifiedPanel.setText(modified ? QStringLiteral("Modified") : QString());
}

void TDocumentSession::MarkModified()
{
    SetModified(true);
    UpdateTitle(true);
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
    m_tree.ClearItems();
    if (OnClearDescription)
        OnClearDescription();
    SetModified(false);
    FFileName.clear();
    UpdateTitle(false);
}

void TDocumentSession::SaveDocument()
{
    SaveItems(m_tree, FFileName.toStdString());
    SetModified(false);
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
    SaveDocument();
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
    SaveDocument();
    UpdateTitle(false);
}

void TDocumentSession::LoadDocument(const QString& path)
{
    CloseDocument();
    try {
        LoadItems(m_tree, path.toStdString());
    } catch (...) {
        // The damaged or locked file must not become the save target; what
        // was read stays, as an untitled document.
        SetModified(m_tree.TopItemCount() > 0);
        UpdateTitle(FModified);
        ShowDescription(m_tree.FocusedItem());
        throw;
    }
    FFileName = path;
    UpdateTitle(false);
    ShowDescription(m_tree.TopItem(0));
}

QString TDocumentSession::CommandLineFile() const
{
    return m_arguments.isEmpty() ? QString() : m_arguments.constFirst();
}

void TDocumentSession::OpenRecovered(const QString& copyPath, const QString& fileName)
{
    CloseDocument();
    try {
        LoadItems(m_tree, copyPath.toStdString());
    } catch (...) {
        CloseDocument();
        throw;
    }
    FFileName = fileName;
    MarkModified();
    ShowDescription(m_tree.TopItem(0));
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
    m_load = std::make_unique<TBackgroundLoad>(path);
    // Short loads end without a word; longer ones say how long they have run.
    constexpr int ProgressAfterMs = 300;
    QTimer& timer = m_load->Timer();
    timer.setInterval(50);
    QObject::connect(&timer, &QTimer::timeout, &m_window, [this] {
        if (m_load->Done()) {
            Protected([this] { FinishBackgroundLoad(); });
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
        SetModified(m_tree.TopItemCount() > 0);
        UpdateTitle(FModified);
        ShowDescription(m_tree.FocusedItem());
        std::rethrow_exception(load->Error());
    }
    FFileName = load->Path();
    UpdateTitle(false);
    ShowDescription(m_tree.TopItem(0));
}

bool TDocumentSession::FormCloseQuery()
{
    FinishEditing();
    return SaveChanges() != TSaveResult::Cancelled;
}
