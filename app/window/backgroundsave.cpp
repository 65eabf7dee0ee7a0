#include "app/window/backgroundsave.h"

#include "document/protectedfile.h"
#include "document/treefile.h"

#include <QMetaObject>
#include <chrono>

namespace {
// One slice's share of the window's time: well inside a frame.
constexpr auto SliceTime = std::chrono::milliseconds(4);
// The bytes taken between looks at the clock, and the size of each part:
// parts, not one string, so no growing string is ever copied whole.
constexpr size_t Step = size_t(64) << 10;
constexpr size_t PartSize = size_t(4) << 20;
}  // namespace

TBackgroundSave::TBackgroundSave(TTreeList& tree, std::string fileName, std::shared_ptr<const TFileKey> key)
    : m_tree(tree), m_fileName(std::move(fileName)), m_key(std::move(key)),
      m_serialiser(std::make_unique<TTreeSerialiser>(tree))
{
    m_tree.AddObserver(this);
    m_slice.setSingleShot(true);
    connect(&m_slice, &QTimer::timeout, this, &TBackgroundSave::Slice);
    m_slice.start(0);
}

TBackgroundSave::~TBackgroundSave()
{
    m_tree.RemoveObserver(this);
    if (m_worker.joinable())
        m_worker.join();
}

void TBackgroundSave::Slice()
{
    if (!m_serialiser)
        return;
    const auto end = std::chrono::steady_clock::now() + SliceTime;
    bool done = false;
    while (!done && std::chrono::steady_clock::now() < end) {
        if (m_parts.empty() || m_parts.back().size() >= PartSize) {
            m_parts.emplace_back();
            m_parts.back().reserve(PartSize + Step);
        }
        done = m_serialiser->Next(m_parts.back(), Step);
    }
    if (done)
        StartWriting();
    else
        m_slice.start(0);
}

// Called as the tree is about to change: the bytes must not see the change.
void TBackgroundSave::TakeRest()
{
    if (!m_serialiser)
        return;
    m_slice.stop();
    if (m_parts.empty())
        m_parts.emplace_back();
    while (!m_serialiser->Next(m_parts.back(), PartSize))
        m_parts.emplace_back();
    StartWriting();
}

void TBackgroundSave::ItemAboutToChange(TTreeListTextNode* item)
{
    if (m_serialiser)
        m_serialiser->Keep(*item);
}

void TBackgroundSave::StartWriting()
{
    m_serialiser.reset();
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
    TakeRest();
    if (m_worker.joinable())
        m_worker.join();
}
