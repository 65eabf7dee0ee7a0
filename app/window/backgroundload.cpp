#include "app/window/backgroundload.h"

#include "document/treefile.h"

TBackgroundLoad::TBackgroundLoad(const QString& path) : m_path(path), m_fileName(path.toStdString())
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
    m_done = true;
}

TTreeList& TBackgroundLoad::Tree()
{
    m_worker.join();
    return m_tree;
}
