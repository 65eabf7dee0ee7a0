#include "app/window/backgroundload.h"

#include "document/treefile.h"

#include <new>

TBackgroundLoad::TBackgroundLoad(const QString& path, TTreeList& target)
    : m_path(path), m_fileName(path.toStdString()), m_target(target)
{
    m_started.start();
    m_worker = std::thread([this] { Run(); });
}

TBackgroundLoad::~TBackgroundLoad()
{
    if (m_worker.joinable())
        m_worker.join();
}

void TBackgroundLoad::Run()
{
    // What was read before an error stays in the tree.
    try {
        LoadItems(m_tree, m_fileName);
    } catch (...) {
        m_error = std::current_exception();
    }
    // Otherwise the window's thread walks every item to set its owner; it
    // still does when there was no memory for this.
    try {
        m_tree.PrepareMoveInto(m_target);
    } catch (const std::bad_alloc&) {
    }
    m_done = true;
}

TTreeList& TBackgroundLoad::Tree()
{
    m_worker.join();
    return m_tree;
}
