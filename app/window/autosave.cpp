#include "app/window/autosave.h"

#include "app/view/treelistview.h"
#include "app/window/application.h"
#include "app/window/documentsession.h"

#include <QApplication>
#include <QTime>
#include <chrono>

TAutoSave::TAutoSave(TDocumentSession& session, const TTreeListView& treeView)
    : m_session(session), m_treeView(treeView)
{
    m_timer.setInterval(1000);
    ConnectGuarded(&m_timer, &QTimer::timeout, this, &TAutoSave::Tick);
    ConnectGuarded(&m_session, &TDocumentSession::ModifiedSet, this, &TAutoSave::ModifiedSet);
}

TAutoSave::~TAutoSave() = default;

void TAutoSave::SetOptions(bool enabled, int seconds)
{
    m_enabled = enabled;
    m_intervalMs = qint64(seconds) * 1000;
    m_dueAt.reset();
    m_timer.stop();
    if (enabled && m_session.Modified())
        ModifiedSet(true);
}

void TAutoSave::SetClock(const TAutoSaveClock* clock)
{
    m_clock = clock;
}

qint64 TAutoSave::NowMs() const
{
    if (m_clock)
        return m_clock->NowMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Every change signals "modified" anew, so the time runs from the last one.
// The save's own steps (typing that becomes a step first) do not count.
void TAutoSave::ModifiedSet(bool modified)
{
    if (m_saving)
        return;
    if (!modified || !m_enabled || m_session.FileName().isEmpty()) {
        m_dueAt.reset();
        m_timer.stop();
        return;
    }
    m_dueAt = NowMs() + m_intervalMs;
    m_timer.start();
}

// A dialog (a question, the file dialog, a menu) or a name being typed has
// the user's attention; a save now would change what they are answering about.
bool TAutoSave::MustWait() const
{
    return QApplication::activeModalWidget() || QApplication::activePopupWidget() || m_treeView.NameEditor() ||
           m_session.Loading() || m_session.Saving();
}

void TAutoSave::Tick()
{
    if (!m_dueAt || NowMs() < *m_dueAt || MustWait())
        return;
    m_dueAt.reset();
    m_timer.stop();
    if (!m_session.Modified() || m_session.FileName().isEmpty())
        return;
    m_saving = true;
    bool saved = false;
    try {
        saved = m_session.SaveAutomatically();
    } catch (...) {
        m_saving = false;
        throw;
    }
    m_saving = false;
    if (saved)
        emit Status(tr("Saved automatically at %1").arg(QTime::currentTime().toString(QStringLiteral("HH:mm"))));
}
