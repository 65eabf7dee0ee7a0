#pragma once

#include "recovery/recoverystore.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class TAtomicFile;

// Writes one editor's recovery copies on a thread of its own, so that
// neither a slow disk nor a full one holds up the window. The window's
// thread hands over a copy's bytes in parts as it serialises the tree; the
// writer does everything in the order it was asked. A new copy goes through
// the atomic replacement, so the previous one stays whole until it is done.
class TRecoveryWriter {
public:
    TRecoveryWriter(TRecoveryStore& store, TProcessIdentity self);
    // Does what was asked before, then ends the thread.
    ~TRecoveryWriter();
    TRecoveryWriter(const TRecoveryWriter&) = delete;
    TRecoveryWriter& operator=(const TRecoveryWriter&) = delete;

    // Called on the writer's thread: a copy failed (the message names the
    // file), or a copy is complete on the disk.
    std::function<void(const std::string& message)> OnFailed;
    std::function<void()> OnWritten;

    // A new copy of the document at `documentPath` (empty when untitled).
    void Begin(std::string documentPath);
    void Append(std::string bytes);
    // Puts the new copy in the place of the last one and records it.
    void Finish(int64_t time);
    // The copy begun is not wanted; the last one stays.
    void Abandon();
    // Removes the document's copy: nothing is unsaved any more.
    void Discard();
    // A recovered copy becomes this editor's copy of its document, before
    // this returns, so no other editor starting now offers it again.
    void Adopt(std::string name, TRecoveryInfo info);
    // Returns once everything asked so far is done.
    void Wait();
    // Bytes handed over and not yet written.
    size_t QueuedBytes() const { return m_queuedBytes; }

private:
    void Post(std::function<void()> job);
    void Run();
    bool Wanted(uint64_t copy) const { return copy > m_abandoned; }
    bool Writing(uint64_t copy) const { return m_file && m_fileCopy == copy && Wanted(copy); }
    TRecoveryInfo Info(int64_t time) const;

    TRecoveryStore& m_store;
    const TProcessIdentity m_self;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<std::function<void()>> m_jobs;
    bool m_busy = false;
    bool m_stop = false;
    std::atomic<size_t> m_queuedBytes{0};
    // Copies are numbered as they are begun; those up to m_abandoned are
    // dropped without another byte written.
    uint64_t m_begun = 0;
    std::atomic<uint64_t> m_abandoned{0};

    // Used on the writer's thread only.
    std::string m_name;  // the copy's name, once claimed
    std::string m_documentPath;
    std::unique_ptr<TAtomicFile> m_file;
    uint64_t m_fileCopy = 0;

    std::thread m_thread;  // last: it starts once everything above is there
};
