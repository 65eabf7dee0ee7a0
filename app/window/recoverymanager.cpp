#include "app/window/recoverymanager.h"

#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "app/window/prompter.h"
#include "document/protectedfile.h"
#include "document/treefile.h"
#include "recovery/recoverystore.h"
#include "recovery/recoverywriter.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QStandardPaths>
#include <QStatusBar>
#include <algorithm>
#include <chrono>

namespace {
const QString RecoverOption = QStringLiteral("--recover");
// A slice stays well below what a typist notices; the bytes of one slice go
// to the writer as one part, and the window waits for the writer when it
// is this far behind, so a slow disk does not fill the memory.
constexpr auto SliceTime = std::chrono::milliseconds(8);
constexpr size_t StepBytes = 64 * 1024;
constexpr size_t PartBytes = 4 * 1024 * 1024;
constexpr size_t MaxQueuedBytes = 64 * 1024 * 1024;
constexpr int WriterWait = 5;
}  // namespace

TRecoveryManager::TRecoveryManager(TTreeList& tree, TDocumentSession& session, QWidget& window,
                                   QStatusBar& statusBar, const QString& folder, QString recoverCopy)
    : m_tree(tree), m_session(session), m_window(window), m_recoverCopy(std::move(recoverCopy))
{
    if (folder.isEmpty())
        return;
    m_store = std::make_unique<TRecoveryStore>(folder.toStdString());
    m_writer = std::make_unique<TRecoveryWriter>(*m_store, TProcessIdentity::Current());
    // The writer reports from its own thread; the window hears it between events.
    m_writer->OnWritten = [this] {
        QMetaObject::invokeMethod(this, Guarded([this] { CopyWritten(); }), Qt::QueuedConnection);
    };
    m_writer->OnFailed = [this](const std::string& message) {
        QMetaObject::invokeMethod(
            this, Guarded([this, text = QString::fromStdString(message)] { CopyFailed(text); }), Qt::QueuedConnection);
    };
    ConnectGuarded(this, &TRecoveryManager::RecoverElsewhere, this, &TRecoveryManager::StartElsewhere);

    m_problem = new QLabel;
    m_problem->setObjectName(QStringLiteral("RecoveryProblem"));
    m_problem->hide();
    statusBar.addPermanentWidget(m_problem);

    m_interval.setSingleShot(true);
    // A coarse timer may come late by a twentieth of its interval.
    m_interval.setTimerType(Qt::PreciseTimer);
    m_interval.setInterval(DefaultInterval);
    ConnectGuarded(&m_interval, &QTimer::timeout, this, &TRecoveryManager::StartCopy);
    m_slice.setSingleShot(true);
    ConnectGuarded(&m_slice, &QTimer::timeout, this, &TRecoveryManager::Slice);
    m_tree.AddObserver(this);
    connect(&m_session, &TDocumentSession::ModifiedSet, this,
            Guarded([this](bool modified) { ModifiedSet(modified); }));
    connect(&m_session, &TDocumentSession::ProtectionChanged, this, Guarded([this] { ProtectionChanged(); }));
}

TRecoveryManager::~TRecoveryManager()
{
    if (!m_writer)
        return;
    m_tree.RemoveObserver(this);
    StopCopy();
    m_writer->Discard();
    m_writer.reset();
}

QString TRecoveryManager::DefaultFolder()
{
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/recovery");
}

QString TRecoveryManager::TakeRecoverOption(QStringList& arguments)
{
    if (arguments.size() < 2 || arguments.constFirst() != RecoverOption)
        return QString();
    const QString copy = arguments.at(1);
    arguments.remove(0, 2);
    return copy;
}

void TRecoveryManager::ModifiedSet(bool modified)
{
    if (modified) {
        m_changed = true;
        if (!CopyDue())
            m_interval.start();
        return;
    }
    // The document matches its file again, or is gone: nothing to recover.
    StopCopy();
    m_changed = false;
    m_writer->Discard();
}

void TRecoveryManager::StopCopy()
{
    m_interval.stop();
    m_slice.stop();
    if (m_pass)
        m_writer->Abandon();
    m_pass.reset();
    m_encryptor.reset();
    m_passKey.reset();
    m_cipher.clear();
}

// The copy on the disk was written under the old protection: a new one
// replaces it at once, not an interval later.
void TRecoveryManager::ProtectionChanged()
{
    StopCopy();
    if (!m_session.Modified())
        return;
    m_changed = true;
    StartCopy();
}

std::string TRecoveryManager::DocumentPath() const
{
    const QString name = m_session.FileName();
    return name.isEmpty() ? std::string() : QFileInfo(name).absoluteFilePath().toStdString();
}

void TRecoveryManager::StartCopy()
{
    if (!m_changed || m_pass)
        return;
    // Edits the description editor has not handed to the item yet belong in
    // the copy.
    m_tree.CommitEdits();
    m_changed = false;
    m_passItem = nullptr;
    m_passBroken = false;
    m_pass = std::make_unique<TTreeSerialiser>(m_tree);
    m_passKey = m_session.Key();
    if (m_passKey)
        m_encryptor = std::make_unique<TEncryptor>(
            *m_passKey, [this](const char* data, size_t size) { m_cipher.append(data, size); });
    m_writer->Begin(DocumentPath());
    m_slice.start(0);
}

void TRecoveryManager::ItemChanged(TTreeListTextNode* item)
{
    if (!m_passItem)
        m_passItem = item;
    else if (item != m_passItem)
        m_passBroken = true;
}

void TRecoveryManager::Slice()
{
    if (!m_pass)
        return;
    if (m_passBroken) {
        // The items already written may no longer fit with the rest; the
        // pointer to the next one may point nowhere.
        StopCopy();
        m_changed = true;
        StartCopy();
        return;
    }
    if (m_writer->QueuedBytes() >= MaxQueuedBytes) {
        m_slice.start(WriterWait);
        return;
    }
    const auto end = std::chrono::steady_clock::now() + SliceTime;
    std::string part;
    bool done = false;
    do
        done = m_pass->Next(part, StepBytes);
    while (!done && part.size() < PartBytes && std::chrono::steady_clock::now() < end);
    if (m_encryptor) {
        m_encryptor->Write(part);
        if (done)
            m_encryptor->Finish();
        part.swap(m_cipher);
        m_cipher.clear();
    }
    m_writer->Append(std::move(part));
    if (!done) {
        m_slice.start(0);
        return;
    }
    m_pass.reset();
    m_encryptor.reset();
    m_passKey.reset();
    m_writer->Finish(QDateTime::currentSecsSinceEpoch());
    if (m_changed)
        m_interval.start();
}

void TRecoveryManager::CopyWritten()
{
    ++m_copiesWritten;
    m_problem->hide();
}

// Shown once a session: the user learns that the changes are not safe,
// and editing goes on. Later attempts keep trying without a word.
void TRecoveryManager::CopyFailed(const QString& message)
{
    ++m_copiesFailed;
    if (!m_problemShown) {
        m_problemShown = true;
        m_problem->setText(tr("Recovery copy not written: %1").arg(message));
        m_problem->show();
    }
    if (m_session.Modified()) {
        m_changed = true;
        if (!CopyDue())
            m_interval.start();
    }
}

bool TRecoveryManager::OfferCopies()
{
    if (!m_store)
        return false;
    if (!m_recoverCopy.isEmpty())
        return RecoverStartedCopy();
    // Held by another editor starting now, which offers them.
    const TFileHandle lock = m_store->LockForOffering();
    if (!lock.IsOpen())
        return false;
    TRecoveryStore::TFindings found = m_store->FindOrphans();
    for (const std::string& copy : found.unreadable)
        ReportUnreadable(copy);

    const QString commandLine = m_session.CommandLineFile();
    const std::string commandLinePath =
        commandLine.isEmpty() ? std::string() : QFileInfo(commandLine).absoluteFilePath().toStdString();
    auto ofCommandLine = [&](const TRecoveryStore::TEntry& entry) {
        return !commandLinePath.empty() && entry.info.path == commandLinePath;
    };
    std::stable_partition(found.orphans.begin(), found.orphans.end(), ofCommandLine);
    // An existing command-line file keeps the window unless its own copy is
    // recovered into it.
    const bool windowTaken = QFileInfo(commandLine).isFile();
    bool recovered = false;
    for (const TRecoveryStore::TEntry& entry : found.orphans) {
        const QString name = entry.info.path.empty() ? tr("Untitled")
                                                     : QFileInfo(QString::fromStdString(entry.info.path)).fileName();
        const QString time =
            QDateTime::fromSecsSinceEpoch(entry.info.time).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
        const auto answer = Prompter().Ask(
            &m_window, QMessageBox::Question, QString::fromLatin1(ApplicationTitle),
            tr("%1 was not closed properly. Recover the unsaved changes to %2 from %3?")
                .arg(QString::fromLatin1(ApplicationTitle), name, time),
            QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::No) {
            m_store->Remove(entry.name);
        } else if (answer == QMessageBox::Yes) {
            if (!recovered && (!windowTaken || ofCommandLine(entry)))
                recovered = RecoverHere(entry.name, entry.info);
            else
                emit RecoverElsewhere(QString::fromStdString(m_store->CopyPath(entry.name)));
        }
    }
    return recovered;
}

// The user already said yes, in the editor that started this one.
bool TRecoveryManager::RecoverStartedCopy()
{
    const std::string copy = m_recoverCopy.toStdString();
    const std::string name = m_store->NameOf(copy);
    if (name.empty())
        return false;
    const auto info = m_store->ReadInfo(name);
    if (!info || !m_store->HasCopy(name)) {
        ReportUnreadable(copy);
        return false;
    }
    return !info->owner.Running() && RecoverHere(name, *info);
}

bool TRecoveryManager::RecoverHere(const std::string& name, const TRecoveryInfo& info)
{
    const std::string copy = m_store->CopyPath(name);
    try {
        // A password question cancelled keeps the copy for the next start.
        if (!m_session.OpenRecovered(QString::fromStdString(copy), QString::fromStdString(info.path)))
            return false;
    } catch (const EProtectedFileError& error) {
        Prompter().ShowError(ErrorBoxMessage(error) +
                             tr(" It is kept for the next start."));
        return false;
    } catch (const std::exception&) {
        ReportUnreadable(copy);
        return false;
    }
    m_writer->Adopt(name, info);
    // The copy on the disk is the tree as it is now.
    StopCopy();
    m_changed = false;
    return true;
}

void TRecoveryManager::ReportUnreadable(const std::string& copyPath)
{
    Prompter().ShowError(tr("The recovery copy %1 cannot be read. It is kept for you to inspect.")
                             .arg(QString::fromStdString(copyPath)));
}

void TRecoveryManager::StartElsewhere(const QString& copyPath)
{
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(), {RecoverOption, copyPath}))
        Prompter().ShowError(
            tr("Cannot start another %1 for the recovery copy %2. It is kept for the next start.")
                .arg(QString::fromLatin1(ApplicationTitle), copyPath));
}
