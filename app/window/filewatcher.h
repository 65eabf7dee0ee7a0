#pragma once

#include <QCoreApplication>
#include <QFileSystemWatcher>
#include <QString>
#include <QTimer>
#include <cstdint>

class QWidget;
class TDocumentSession;

// Watches the document's file for changes by another program. A version on
// disk that is neither ours nor already asked about brings one question,
// "reload?"; a save over a version the document does not know asks
// "overwrite?" first.
class TFileWatcher {
    Q_DECLARE_TR_FUNCTIONS(TFileWatcher)

public:
    TFileWatcher(TDocumentSession& session, QWidget& window);

    // The document's file as it was just loaded or saved: watched from now
    // on, and its version is ours.
    void KnowFile();
    void ForgetFile();
    // False when the file changed on disk and the user does not want it overwritten.
    bool MayOverwrite();

    // How long the file must stay quiet after a change before the question:
    // a file written in pieces is one change.
    static constexpr int SettleMs = 150;

private:
    // What tells one version of the file on disk from another.
    struct TDiskStamp {
        bool exists = false;
        std::uint64_t device = 0, inode = 0;
        std::int64_t size = 0, modifiedNs = 0;
        bool operator==(const TDiskStamp& other) const;
        bool operator!=(const TDiskStamp& other) const { return !(*this == other); }
    };
    static TDiskStamp StampOf(const QString& path);
    // Watches the file again: a replace by rename ends the watch on the old one.
    void Rewatch();
    void CheckFileOnDisk();

    TDocumentSession& m_session;
    QWidget& m_window;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_watchedFile;
    TDiskStamp m_known;     // the version loaded or saved last
    TDiskStamp m_answered;  // the version last asked about
    bool m_asking = false;
};
