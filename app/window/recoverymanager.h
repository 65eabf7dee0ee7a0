#pragma once

#include "document/treelist.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>

class QLabel;
class QStatusBar;
class QWidget;
class TDocumentSession;
class TEncryptor;
class TFileKey;
class TRecoveryStore;
class TRecoveryWriter;
class TTreeSerialiser;
struct TRecoveryInfo;

// Keeps a recovery copy of the document while it has unsaved changes, and at
// the next start offers the copies of editors that ended without closing.
//
// A copy is begun one interval after the first change it lacks. The tree is
// serialised on the window's thread in slices of a few milliseconds, between
// which the window handles its events, and the bytes go to a thread that
// writes them, so neither a large tree nor the disk holds up typing. The
// slices need a tree that holds still: a change of the structure, or of a
// second item, starts the copy again; changes of one item alone leave the
// copy the tree as it was at one moment.
class TRecoveryManager : public QObject, private TTreeListObserver {
    Q_OBJECT
public:
    static constexpr int DefaultInterval = 30000;

    // With an empty folder no copy is written or offered (tests, benchmarks).
    // `recoverCopy` is a copy this editor was started to recover.
    TRecoveryManager(TTreeList& tree, TDocumentSession& session, QWidget& window, QStatusBar& statusBar,
                     const QString& folder, QString recoverCopy);
    // A normal end leaves no copy behind.
    ~TRecoveryManager() override;

    // "recovery" in the application's data folder.
    static QString DefaultFolder();
    // Takes "--recover COPY" off the front of the command line; returns COPY.
    static QString TakeRecoverOption(QStringList& arguments);

    // At start, before the command-line file opens: asks about each copy of
    // an editor that ended, that file's first. The first copy recovered
    // takes the window, unless the command-line file has it; the others open
    // through RecoverElsewhere. True when the window now holds a recovered
    // document instead of the command-line file.
    bool OfferCopies();

    void SetInterval(int milliseconds) { m_interval.setInterval(milliseconds); }
    // A copy is waiting for its interval or being serialised.
    bool CopyDue() const { return m_interval.isActive() || m_pass != nullptr; }
    int CopiesWritten() const { return m_copiesWritten; }
    int CopiesFailed() const { return m_copiesFailed; }

signals:
    // Opens a recovered copy in another editor: connected at first to
    // starting the program again with "--recover COPY".
    void RecoverElsewhere(const QString& copyPath);

private:
    void ModifiedSet(bool modified);
    void ProtectionChanged();
    void StartCopy();
    void Slice();
    void StopCopy();
    void CopyWritten();
    void CopyFailed(const QString& message);
    std::string DocumentPath() const;

    bool RecoverStartedCopy();
    bool RecoverHere(const std::string& name, const TRecoveryInfo& info);
    void ReportUnreadable(const std::string& copyPath);
    void StartElsewhere(const QString& copyPath);

    void ItemsAboutToBeInserted(TTreeListTextNode*, int, int) override { m_passBroken = true; }
    void ItemsAboutToBeRemoved(TTreeListTextNode*, int, int) override { m_passBroken = true; }
    void ItemAboutToBeMoved(TTreeListTextNode*, TTreeListTextNode*, int) override { m_passBroken = true; }
    void ChildrenAboutToBeReordered(const std::vector<TTreeListTextNode*>&) override { m_passBroken = true; }
    void AboutToReset() override { m_passBroken = true; }
    void ItemChanged(TTreeListTextNode* item) override;

    TTreeList& m_tree;
    TDocumentSession& m_session;
    QWidget& m_window;
    const QString m_recoverCopy;
    std::unique_ptr<TRecoveryStore> m_store;
    std::unique_ptr<TRecoveryWriter> m_writer;
    QLabel* m_problem = nullptr;
    bool m_problemShown = false;
    QTimer m_interval;
    QTimer m_slice;
    bool m_changed = false;  // the document changed since the last copy began
    std::unique_ptr<TTreeSerialiser> m_pass;
    // A protected document's copy is encrypted with its key as it is
    // serialised: no byte of it reaches the writer in the clear.
    std::shared_ptr<const TFileKey> m_passKey;
    std::unique_ptr<TEncryptor> m_encryptor;
    std::string m_cipher;
    const TTreeListTextNode* m_passItem = nullptr;  // the one item changed while the pass runs
    bool m_passBroken = false;
    int m_copiesWritten = 0;
    int m_copiesFailed = 0;
};
