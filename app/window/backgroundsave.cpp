#include "app/window/backgroundsave.h"

#include "document/protectedfile.h"
#include "document/treefile.h"
#include "document/treesnapshot.h"

#include <QMetaObject>
#include <chrono>
#include <cstdint>

namespace {
// One slice's share of the window's time: well inside a frame.
constexpr auto SliceTime = std::chrono::milliseconds(4);
// The bytes taken between looks at the clock.
constexpr size_t Step = size_t(64) << 10;
}  // namespace

TBackgroundSave::TBackgroundSave(TTreeList& tree, std::string fileName, std::shared_ptr<const TFileKey> key)
    : m_fileName(std::move(fileName)), m_key(std::move(key)), m_snapshot(std::make_unique<TTreeSnapshot>(tree))
{
    m_slice.setSingleShot(true);
    connect(&m_slice, &QTimer::timeout, this, &TBackgroundSave::Slice);
    m_slice.start(0);
}

TBackgroundSave::~TBackgroundSave()
{
    if (m_worker.joinable())
        m_worker.join();
}

void TBackgroundSave::Slice()
{
    if (!m_snapshot)
        return;
    const auto end = std::chrono::steady_clock::now() + SliceTime;
    bool done = false;
    while (!done && std::chrono::steady_clock::now() < end)
        done = m_snapshot->Next(Step);
    if (done)
        StartWriting();
    else
        m_slice.start(0);
}

void TBackgroundSave::StartWriting()
{
    m_slice.stop();
    m_parts = m_snapshot->TakeParts();
    m_snapshot.reset();
    m_worker = std::thread([this] { Write(); });
}

void TBackgroundSave::Write()
{
    try {
        SaveTreeBytes(m_parts, m_fileName, m_key.get());
    } catch (...) {
        m_error = std::current_exception();
    }
    m_parts = {};
    QMetaObject::invokeMethod(this, &TBackgroundSave::Finished, Qt::QueuedConnection);
}

void TBackgroundSave::Wait()
{
    if (m_snapshot) {
        while (!m_snapshot->Next(SIZE_MAX)) {
        }
        StartWriting();
    }
    if (m_worker.joinable())
        m_worker.join();
}
