#include "recovery/recoverywriter.h"

#include "document/atomicfile.h"

TRecoveryWriter::TRecoveryWriter(TRecoveryStore& store, TProcessIdentity self)
    : m_store(store), m_self(std::move(self)), m_thread([this] { Run(); })
{
}

TRecoveryWriter::~TRecoveryWriter()
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void TRecoveryWriter::Post(std::function<void()> job)
{
    {
        const std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.push_back(std::move(job));
    }
    m_wake.notify_one();
}

void TRecoveryWriter::Run()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stop || !m_jobs.empty(); });
        if (m_jobs.empty())
            return;
        std::function<void()> job = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_busy = true;
        lock.unlock();
        try {
            job();
        } catch (const std::exception& error) {
            // The temporary goes; the last complete copy stays.
            m_file.reset();
            if (OnFailed)
                OnFailed(error.what());
        }
        job = nullptr;
        lock.lock();
        m_busy = false;
        if (m_jobs.empty())
            m_idle.notify_all();
    }
}

void TRecoveryWriter::Wait()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return m_jobs.empty() && !m_busy; });
}

TRecoveryInfo TRecoveryWriter::Info(int64_t time) const
{
    TRecoveryInfo info;
    info.path = m_documentPath;
    info.time = time;
    info.owner = m_self;
    return info;
}

void TRecoveryWriter::Begin(std::string documentPath)
{
    const uint64_t copy = ++m_begun;
    Post([this, copy, documentPath = std::move(documentPath)] {
        m_file.reset();
        if (!Wanted(copy))
            return;
        m_documentPath = documentPath;
        // The name stays with the document for the session, also when its
        // path changes without a save (a Save As that failed).
        if (m_name.empty())
            m_name = m_store.Claim(TRecoveryStore::BaseName(documentPath, m_self.pid), Info(0));
        m_file = std::make_unique<TAtomicFile>(m_store.CopyPath(m_name));
        m_fileCopy = copy;
    });
}

void TRecoveryWriter::Append(std::string bytes)
{
    const uint64_t copy = m_begun;
    const size_t size = bytes.size();
    m_queuedBytes += size;
    Post([this, copy, size, bytes = std::move(bytes)] {
        m_queuedBytes -= size;
        if (Writing(copy))
            m_file->Writer().Write(bytes);
    });
}

void TRecoveryWriter::Finish(int64_t time)
{
    const uint64_t copy = m_begun;
    Post([this, copy, time] {
        if (!Writing(copy))
            return;
        m_file->Commit();
        m_file.reset();
        m_store.WriteInfo(m_name, Info(time));
        if (OnWritten)
            OnWritten();
    });
}

void TRecoveryWriter::Abandon()
{
    m_abandoned = m_begun;
    Post([this] {
        if (m_file && !Wanted(m_fileCopy))
            m_file.reset();
    });
}

void TRecoveryWriter::Discard()
{
    Abandon();
    Post([this] {
        if (!m_name.empty())
            m_store.Remove(m_name);
        m_name.clear();
    });
}

void TRecoveryWriter::Adopt(std::string name, TRecoveryInfo info)
{
    Abandon();
    Post([this, name = std::move(name), info = std::move(info)] {
        if (!m_name.empty() && m_name != name)
            m_store.Remove(m_name);
        m_name = name;
        m_documentPath = info.path;
        TRecoveryInfo mine = info;
        mine.owner = m_self;
        m_store.WriteInfo(m_name, mine);
        m_store.RemoveLeftovers(m_name);
    });
    Wait();
}
