#pragma once

#include <QObject>
#include <QTimer>
#include <optional>

class TDocumentSession;
class TTreeListView;

// Where the automatic save reads the time, so that tests can move it on.
class TAutoSaveClock {
public:
    virtual ~TAutoSaveClock() = default;
    virtual qint64 NowMs() const = 0;
};

// Saves a document that has a file name on its own, a set time after its
// last change, through the same atomic save as Ctrl+S. It waits while a
// dialog is open or a name is being typed in the tree. A file another
// program changed brings the usual question instead. A save that fails, or
// that the user declined, is not tried again until the next change, so an
// error is shown once.
class TAutoSave : public QObject {
    Q_OBJECT
public:
    TAutoSave(TDocumentSession& session, const TTreeListView& treeView);
    ~TAutoSave() override;

    void SetOptions(bool enabled, int seconds);
    bool Enabled() const { return m_enabled; }
    // None: the steady clock of the system.
    void SetClock(const TAutoSaveClock* clock);
    // A save is waiting for its time or for a dialog to close.
    bool Due() const { return m_dueAt.has_value(); }
    // Saves when the time has come and nothing stands in the way; the timer
    // calls it every second while a save is due. A failed save throws.
    void Tick();

signals:
    // "Saved automatically at HH:MM", for the status bar.
    void Status(const QString& text);

private:
    void ModifiedSet(bool modified);
    qint64 NowMs() const;
    bool MustWait() const;

    TDocumentSession& m_session;
    const TTreeListView& m_treeView;
    const TAutoSaveClock* m_clock = nullptr;
    QTimer m_timer;
    bool m_enabled = false;
    qint64 m_intervalMs = 30000;
    std::optional<qint64> m_dueAt;
    bool m_saving = false;
};
