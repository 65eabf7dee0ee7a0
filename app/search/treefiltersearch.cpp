#include "app/search/treefiltersearch.h"

#include "app/search/gotosearch.h"
#include "app/view/treelistlayout.h"

#include <QTimer>
#include <algorithm>

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

// Finds the lower-case `needle` in `bytes` ignoring ASCII case; tells
// whether `bytes` holds anything outside ASCII when it does not.
bool AsciiContains(std::string_view bytes, std::string_view needle, bool& other)
{
    other = false;
    if (needle.size() > bytes.size()) {
        other = std::any_of(bytes.begin(), bytes.end(), [](char c) { return c & 0x80; });
        return false;
    }
    const size_t last = bytes.size() - needle.size();
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c & 0x80)
            other = true;
        if (i > last || Lower(c) != needle[0])
            continue;
        size_t k = 1;
        while (k < needle.size() && Lower(bytes[i + k]) == needle[k])
            ++k;
        if (k == needle.size())
            return true;
    }
    return false;
}

} // namespace

bool FoldedContains(std::string_view bytes, std::string_view needle, std::string& folded)
{
    bool other = false;
    if (AsciiContains(bytes, needle, other))
        return true;
    if (!other)
        return false;
    FoldName(bytes, folded);
    return folded.find(needle) != std::string::npos;
}

TTreeFilterSearch::TTreeFilterSearch(TTreeList& tree, TTreeListLayout& layout, TGuard& guard, QObject* parent)
    : QObject(parent), m_tree(tree), m_layout(layout), m_guard(guard), m_sliceTimer(new QTimer(this)), m_restartTimer(new QTimer(this))
{
    m_sliceTimer->setInterval(0);
    m_restartTimer->setSingleShot(true);
    m_restartTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, [this] { m_guard.Run([this] { RunSlice(); }); });
    connect(m_restartTimer, &QTimer::timeout, this, [this] {
        m_guard.Run([this] { Start(QString::fromStdString(m_needle), m_descriptions, m_root); });
    });
    m_tree.AddObserver(this);
}

TTreeFilterSearch::~TTreeFilterSearch()
{
    m_tree.RemoveObserver(this);
}

void TTreeFilterSearch::Start(const QString& text, bool descriptions, TTreeListTextNode* root)
{
    m_restartTimer->stop();
    FoldName(text.toStdString(), m_needle);
    m_descriptions = descriptions;
    m_root = root;
    m_found = 0;
    // The whole tree, also under a root: the next filter's marks are written
    // over every item, and none is left from an earlier one.
    m_cursor = m_tree.TopItem(0);
    m_layout.BeginNextFilter();
    if (!m_cursor || m_needle.empty()) {
        m_cursor = nullptr;
        m_sliceTimer->stop();
        m_matchCount = 0;
        emit Finished();
        return;
    }
    m_sliceTimer->start();
    RunSlice();
}

void TTreeFilterSearch::Stop()
{
    m_restartTimer->stop();
    m_sliceTimer->stop();
    m_cursor = nullptr;
    m_found = 0;
}

bool TTreeFilterSearch::Matches(const TTreeListTextNode* item)
{
    return FoldedContains(item->GetText(TreeListColumnName), m_needle, m_folded) ||
           (m_descriptions && FoldedContains(item->GetText(TreeListColumnDesc), m_needle, m_folded));
}

void TTreeFilterSearch::RunSlice()
{
    if (!m_cursor)
        return;
    const auto end = std::chrono::steady_clock::now() + SliceTime;
    // The clock is read every 1024 names (every 64 descriptions): reading it
    // costs more than a short name.
    const int mask = m_descriptions ? 63 : 1023;
    for (int n = 0; m_cursor; m_cursor = m_tree.NextInDocument(m_cursor)) {
        if ((++n & mask) == 0 && std::chrono::steady_clock::now() >= end)
            break;
        const bool match = Matches(m_cursor);
        m_layout.VisitNext(m_cursor, match);
        if (match && (!m_root || m_cursor->IsInside(m_root)))
            ++m_found;
    }
    if (m_cursor)
        return;
    m_sliceTimer->stop();
    m_matchCount = m_found;
    emit Finished();
}

void TTreeFilterSearch::Finish()
{
    while (m_cursor)
        RunSlice();
}

void TTreeFilterSearch::TreeChanged()
{
    // The items found so far may be about to go: the scan starts again once
    // the change is done.
    if (!m_cursor)
        return;
    Stop();
    m_restartTimer->start();
}

void TTreeFilterSearch::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    for (int row = first; m_root && row <= last; ++row)
        if (const TTreeListTextNode* item = parent ? parent->Child(row) : m_tree.TopItem(row); m_root->IsInside(item))
            m_root = nullptr;
    TreeChanged();
}

void TTreeFilterSearch::AboutToReset()
{
    Stop();
    m_root = nullptr;
    m_matchCount = 0;
}
