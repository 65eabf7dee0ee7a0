#include "app/window/filewatcher.h"

#include "app/window/application.h"
#include "app/window/documentsession.h"
#include "app/window/prompter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {
const char ChangedCaption[] = QT_TRANSLATE_NOOP("TFileWatcher", "File Changed");
}  // namespace

TFileWatcher::TFileWatcher(TDocumentSession& session, QWidget& window) : m_session(session), m_window(window)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleMs);
    // Both the file and its folder are watched: a file replaced by rename or
    // deleted and written anew shows in the folder.
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, &m_settle, Guarded([this] { m_settle.start(); }));
    QObject::connect(&m_watcher, &QFileSystemWatcher::directoryChanged, &m_settle,
                     Guarded([this] { m_settle.start(); }));
    QObject::connect(&m_settle, &QTimer::timeout, &m_settle, Guarded([this] { CheckFileOnDisk(); }));
}

bool TFileWatcher::TDiskStamp::operator==(const TDiskStamp& other) const
{
    return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
           modifiedNs == other.modifiedNs;
}

TFileWatcher::TDiskStamp TFileWatcher::StampOf(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino),
            static_cast<std::int64_t>(st.st_size),
            static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

void TFileWatcher::KnowFile()
{
    m_known = m_answered = StampOf(m_session.FileName());
    Rewatch();
}

void TFileWatcher::ForgetFile()
{
    m_settle.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_watchedFile.clear();
    m_known = m_answered = {};
}

void TFileWatcher::Rewatch()
{
    const QString& fileName = m_session.FileName();
    if (fileName.isEmpty())
        return;
    if (m_watchedFile != fileName) {
        const TDiskStamp known = m_known, answered = m_answered;
        ForgetFile();
        m_known = known;
        m_answered = answered;
        m_watchedFile = fileName;
        m_watcher.addPath(QFileInfo(fileName).absolutePath());
    }
    if (m_watcher.files().contains(fileName))
        m_watcher.removePath(fileName);
    if (QFileInfo::exists(fileName))
        m_watcher.addPath(fileName);
}

// One question per version of the file that is neither ours nor already
// asked about; the answer stands until the file changes again.
void TFileWatcher::CheckFileOnDisk()
{
    // A save still being written replaces the file itself; its end makes
    // the new version the known one.
    if (m_session.FileName().isEmpty() || m_asking || m_session.Saving())
        return;
    Rewatch();
    const TDiskStamp now = StampOf(m_session.FileName());
    if (!now.exists || now == m_known || now == m_answered)
        return;
    m_answered = now;
    // A name still being typed is a change the question must know of.
    m_session.FinishEditing();
    const QString name = QDir::toNativeSeparators(m_session.FileName());
    const QString text =
        m_session.Modified()
            ? tr("The file %1 was changed by another program.\n\nReload it and lose your changes? "
                             "No keeps the document as it is.")
                  .arg(name)
            : tr("The file %1 was changed by another program.\n\nReload it?").arg(name);
    m_asking = true;
    const auto answer =
        Prompter().Ask(&m_window, QMessageBox::Warning, tr(ChangedCaption), text, QMessageBox::Yes | QMessageBox::No);
    m_asking = false;
    if (answer == QMessageBox::Yes && StampOf(m_session.FileName()) == now) {
        const QString path = m_session.FileName();  // the load starts by closing the document
        m_session.Reload(path);
        return;
    }
    // It changed again while the question was open: that is a change of its own.
    if (StampOf(m_session.FileName()) != now)
        m_settle.start();
}

bool TFileWatcher::MayOverwrite()
{
    const QString& fileName = m_session.FileName();
    // Another file chosen with Save As was confirmed in the save dialog.
    if (fileName != m_watchedFile)
        return true;
    const TDiskStamp now = StampOf(fileName);
    if (!now.exists || now == m_known)
        return true;
    const QString text = tr("The file %1 was changed by another program since it was opened or "
                                        "saved.\n\nOverwrite it with this document?")
                             .arg(QDir::toNativeSeparators(fileName));
    return Prompter().Ask(&m_window, QMessageBox::Warning, tr(ChangedCaption), text,
                          QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}
