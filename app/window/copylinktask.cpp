#include "app/window/copylinktask.h"

#include "app/window/application.h"
#include "app/window/waitcursor.h"
#include "document/linkgrammar.h"
#include "document/linksto.h"

#include <QTimer>

namespace {

constexpr std::chrono::milliseconds SliceTime{12};

}  // namespace

TCopyLinkTask::TCopyLinkTask(TTreeList& tree, QObject* parent)
    : QObject(parent), m_tree(tree), m_sliceTimer(new QTimer(this))
{
    m_sliceTimer->setSingleShot(true);
    m_sliceTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, Guarded([this] { RunSlice(false); }));
    m_tree.AddObserver(this);
}

TCopyLinkTask::~TCopyLinkTask()
{
    m_tree.RemoveObserver(this);
}

void TCopyLinkTask::Start(TTreeListTextNode* item)
{
    Cancel();
    m_target = item;
    if (!item)
        return;
    m_scan = std::make_unique<TLinksToScan>(m_tree, item);
    m_scan->StopAtTarget();
    RunSlice(true);
}

void TCopyLinkTask::Finish()
{
    if (m_scan)
        m_scan->Scan();
    RunSlice(false);
}

void TCopyLinkTask::RunSlice(bool first)
{
    if (!m_scan)
        return;
    if (!m_scan->Scan(std::chrono::steady_clock::now() + (first ? m_firstSlice : SliceTime))) {
        if (!m_waitCursor)
            m_waitCursor = std::make_unique<TWaitCursor>();
        m_sliceTimer->start();
        return;
    }
    const bool byPath = m_scan->NameFindsEarlier();
    TTreeListTextNode* item = m_target;
    Cancel();
    emit Ready(QString::fromStdU16String(ItemLinkOf(item, byPath)));
}

void TCopyLinkTask::Cancel()
{
    m_sliceTimer->stop();
    m_scan.reset();
    m_waitCursor.reset();
    m_target = nullptr;
}

// A walk cannot go on over a changed tree; it starts again from the top.
void TCopyLinkTask::Restart()
{
    if (!m_scan)
        return;
    m_scan = std::make_unique<TLinksToScan>(m_tree, m_target);
    m_scan->StopAtTarget();
    m_sliceTimer->start();
}

void TCopyLinkTask::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    if (!m_scan)
        return;
    for (int row = first; row <= last; ++row) {
        const TTreeListTextNode* root = parent ? parent->Child(row) : m_tree.TopItem(row);
        if (root && m_target->IsInside(root)) {
            Cancel();
            return;
        }
    }
    Restart();
}

void TCopyLinkTask::ItemChanged(TTreeListTextNode* /*item*/)
{
    Restart();
}
