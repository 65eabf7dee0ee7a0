#pragma once

#include "document/treelist.h"

#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <atomic>
#include <exception>
#include <string>
#include <thread>

// A tree data file read on a worker thread. The worker touches nothing but
// its own tree and the fields it hands over; the window's thread sees Done
// on a timer, and only then reads them.
class TBackgroundLoad {
public:
    // The items read are made ready for a move into `target`, which the
    // worker never touches.
    TBackgroundLoad(const QString& path, TTreeList& target);
    // A window closed while its file still loads waits for the worker.
    ~TBackgroundLoad();
    TBackgroundLoad(const TBackgroundLoad&) = delete;
    TBackgroundLoad& operator=(const TBackgroundLoad&) = delete;

    bool Done() const { return m_done; }
    // After Done: the tree read, and what went wrong.
    TTreeList& Tree();
    std::exception_ptr Error() const { return m_error; }
    const QString& Path() const { return m_path; }
    qint64 ElapsedMs() const { return m_started.elapsed(); }
    QTimer& Timer() { return m_timer; }

private:
    void Run();

    const QString m_path;
    const std::string m_fileName;
    TTreeList& m_target;
    TTreeList m_tree;
    std::exception_ptr m_error;
    std::atomic<bool> m_done{false};
    QElapsedTimer m_started;
    QTimer m_timer;
    std::thread m_worker;  // last: it starts once everything it uses is there
};
