#include "app/search/treesearch.h"

#include <QStringView>
#include <QTimer>
#include <algorithm>
#include <numeric>

namespace {

// A change that cannot be followed result by result starts the search again
// once the user has paused this long, so typing in a description does not
// start it at every key.
constexpr int RestartDelayMs = 300;

// How much of a long line a result keeps around its match.
constexpr int ContextBefore = 40;
constexpr int MaxLineText = 240;

std::vector<int> IndexPath(const TTreeListNode* item)
{
    std::vector<int> path;
    for (const TTreeListNode* p = item; p; p = p->Parent())
        path.push_back(p->Index());
    std::reverse(path.begin(), path.end());
    return path;
}

// Document order: an item before its descendants, they before its next sibling.
bool Precedes(const TTreeListNode* a, const TTreeListNode* b)
{
    return IndexPath(a) < IndexPath(b);
}

bool IsLowSurrogate(QChar c)
{
    return c.unicode() >= 0xDC00 && c.unicode() <= 0xDFFF;
}

// Results for the first `take` matches of one string, counting lines on the way.
void AppendResults(TTreeListTextNode* item, int column, const QString& text, const std::vector<TTextMatch>& matches,
                   size_t take, std::vector<TFindAllResult>& out)
{
    // The line's ends are carried from match to match: looked up afresh,
    // thousands of matches on one long line would each walk the whole line.
    int line = 1;
    int counted = 0;  // lines are counted up to here
    int lineStart = 0;
    int lineEnd = -1;
    for (size_t i = 0; i < take; ++i) {
        const TTextMatch& match = matches[i];
        const QStringView gap = QStringView(text).mid(counted, match.offset - counted);
        if (const auto breaks = gap.count(u'\n'); breaks > 0) {
            line += static_cast<int>(breaks);
            lineStart = counted + static_cast<int>(gap.lastIndexOf(u'\n')) + 1;
        }
        counted = match.offset;
        if (lineEnd < match.offset + match.length) {
            lineEnd = static_cast<int>(text.indexOf(u'\n', match.offset + match.length));
            if (lineEnd < 0)
                lineEnd = static_cast<int>(text.size());
        }
        int begin = lineStart;
        QString prefix, suffix;
        if (match.offset - lineStart > ContextBefore + 10) {
            begin = match.offset - ContextBefore;
            if (IsLowSurrogate(text.at(begin)))
                --begin;
            prefix = QStringLiteral("\u2026");
        }
        int end = lineEnd;
        if (end - begin > MaxLineText) {
            end = std::max(begin + MaxLineText, match.offset + match.length);
            if (end < lineEnd && IsLowSurrogate(text.at(end)))
                ++end;
            if (end < lineEnd)
                suffix = QStringLiteral("\u2026");
        }
        QString shown = prefix + text.mid(begin, end - begin) + suffix;
        // Tabs and other controls would draw as boxes or move the columns.
        for (QChar& c : shown)
            if (c.unicode() < 0x20)
                c = QLatin1Char(' ');
        out.push_back({item, column, match.offset, match.length, line, shown,
                       static_cast<int>(prefix.size()) + match.offset - begin});
    }
}

}  // namespace

TTreeSearch::TTreeSearch(TTreeList& tree, TGuard& guard, QObject* parent)
    : QObject(parent), m_tree(tree), m_guard(guard), m_sliceTimer(new QTimer(this)), m_restartTimer(new QTimer(this))
{
    m_sliceTimer->setSingleShot(true);
    m_sliceTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, [this] { m_guard.Run([this] { RunSlice(); }); });
    m_restartTimer->setSingleShot(true);
    connect(m_restartTimer, &QTimer::timeout, this,
            [this] { m_guard.Run([this] { Start(m_matcher.Needle(), m_matcher.Options(), m_scope); }); });
    m_tree.AddObserver(this);
}

TTreeSearch::~TTreeSearch()
{
    m_tree.RemoveObserver(this);
}

void TTreeSearch::AddObserver(TTreeSearchObserver* observer)
{
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void TTreeSearch::RemoveObserver(TTreeSearchObserver* observer)
{
    m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

template <typename F> void TTreeSearch::Notify(F&& f)
{
    for (TTreeSearchObserver* o : m_observers)
        f(*o);
}

void TTreeSearch::Start(const QString& needle, TSearchOptions options, TFindScope scope)
{
    // What the editor holds and the item has not got yet is searched too.
    m_tree.CommitEdits();
    m_sliceTimer->stop();
    m_restartTimer->stop();
    m_restartPending = false;
    m_cursor = nullptr;
    ClearResults();
    m_matcher = TTextMatcher(needle, options);
    m_scope = scope;
    m_columns.clear();
    if (scope != TFindScope::Descriptions)
        m_columns.push_back(TreeListColumnName);
    if (scope != TFindScope::Names)
        m_columns.push_back(TreeListColumnDesc);
    if (Active())
        m_cursor = m_tree.TopItem(0);
    if (m_cursor)
        m_sliceTimer->start();
    Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
}

void TTreeSearch::Finish()
{
    if (m_restartPending)
        Start(m_matcher.Needle(), m_matcher.Options(), m_scope);
    m_sliceTimer->stop();
    Scan(std::chrono::steady_clock::time_point::max());
    Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
}

void TTreeSearch::RunSlice()
{
    if (Scan(std::chrono::steady_clock::now() + m_sliceTime))
        m_sliceTimer->start();
    Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
}

bool TTreeSearch::Scan(std::chrono::steady_clock::time_point deadline)
{
    std::vector<TFindAllResult> found;
    for (unsigned n = 1; m_cursor; ++n) {
        const bool decoded = ScanItem(m_cursor, found);
        m_cursor = m_tree.NextInDocument(m_cursor);
        // The clock costs more than an item the bytes rule out; it is read
        // after every item whose text had to be decoded.
        if ((decoded || n % 256 == 0) && std::chrono::steady_clock::now() >= deadline)
            break;
    }
    InsertResults(m_results.size(), found);
    return m_cursor != nullptr;
}

bool TTreeSearch::ScanItem(TTreeListTextNode* item, std::vector<TFindAllResult>& found)
{
    bool matched = false;
    bool listed = false;
    bool decoded = false;
    for (int column : m_columns) {
        const std::string_view bytes = item->GetText(column);
        if (!m_matcher.MayMatch(bytes))
            continue;
        const size_t listedSoFar = m_results.size() + found.size();
        const long onBytes = m_matcher.CountOnBytes(bytes);
        if (onBytes == 0)
            continue;
        if (listedSoFar >= MaxListed && onBytes != TAsciiMatcher::Undecided) {
            matched = true;
            m_unlistedMatches += onBytes;
            continue;
        }
        const QString text = EditorTextOf(bytes);
        decoded = true;
        const std::vector<TTextMatch> matches = m_matcher.Find(text);
        if (matches.empty())
            continue;
        matched = true;
        const size_t take = std::min(matches.size(), MaxListed - std::min<size_t>(listedSoFar, MaxListed));
        AppendResults(item, column, text, matches, take, found);
        listed = listed || take > 0;
        m_unlistedMatches += static_cast<long long>(matches.size() - take);
    }
    if (matched)
        ++(listed ? m_listedItems : m_unlistedItems);
    return decoded;
}

std::vector<TFindAllResult> TTreeSearch::ListItem(TTreeListTextNode* item) const
{
    std::vector<TFindAllResult> results;
    for (int column : m_columns) {
        const std::string_view bytes = item->GetText(column);
        if (!m_matcher.MayMatch(bytes))
            continue;
        const QString text = EditorTextOf(bytes);
        const std::vector<TTextMatch> matches = m_matcher.Find(text);
        AppendResults(item, column, text, matches, matches.size(), results);
    }
    return results;
}

void TTreeSearch::InsertResults(size_t at, std::vector<TFindAllResult>& results)
{
    if (results.empty())
        return;
    const int first = static_cast<int>(at);
    const int last = first + static_cast<int>(results.size()) - 1;
    Notify([&](TTreeSearchObserver& o) { o.ResultsAboutToBeInserted(first, last); });
    m_results.insert(m_results.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(results.begin()),
                     std::make_move_iterator(results.end()));
    Notify([](TTreeSearchObserver& o) { o.ResultsInserted(); });
}

void TTreeSearch::EraseResults(size_t begin, size_t end)
{
    if (begin == end)
        return;
    Notify([&](TTreeSearchObserver& o) {
        o.ResultsAboutToBeRemoved(static_cast<int>(begin), static_cast<int>(end) - 1);
    });
    m_results.erase(m_results.begin() + static_cast<std::ptrdiff_t>(begin),
                    m_results.begin() + static_cast<std::ptrdiff_t>(end));
    Notify([](TTreeSearchObserver& o) { o.ResultsRemoved(); });
}

void TTreeSearch::ClearResults()
{
    Notify([](TTreeSearchObserver& o) { o.ResultsAboutToBeReset(); });
    m_results.clear();
    m_unlistedMatches = 0;
    m_listedItems = 0;
    m_unlistedItems = 0;
    Notify([](TTreeSearchObserver& o) { o.ResultsReset(); });
}

template <typename F> void TTreeSearch::RemoveResultsIf(F&& doomed)
{
    bool removed = false;
    for (size_t end = m_results.size(); end > 0;) {
        if (!doomed(m_results[end - 1])) {
            --end;
            continue;
        }
        size_t begin = end - 1;
        while (begin > 0 && doomed(m_results[begin - 1]))
            --begin;
        EraseResults(begin, end);
        removed = true;
        end = begin;
    }
    if (removed) {
        RecountListedItems();
        Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
    }
}

void TTreeSearch::RecountListedItems()
{
    m_listedItems = 0;
    for (size_t i = 0; i < m_results.size(); ++i)
        if (i == 0 || m_results[i].item != m_results[i - 1].item)
            ++m_listedItems;
}

void TTreeSearch::Invalidate(int delayMs)
{
    m_cursor = nullptr;
    m_sliceTimer->stop();
    m_restartPending = true;
    m_restartTimer->start(delayMs);
    Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
}

bool TTreeSearch::HasText(TTreeListTextNode* root) const
{
    for (const TTreeListTextNode* p = root; p && p->IsInside(root); p = m_tree.NextInDocument(p))
        for (int column : m_columns)
            if (!p->GetText(column).empty())
                return true;
    return false;
}

void TTreeSearch::ItemsAboutToBeInserted(TTreeListTextNode* parent, int first, int last)
{
    m_insertParent = parent;
    m_insertFirst = first;
    m_insertLast = last;
}

// A new item is empty and gets its text later, which ItemChanged follows;
// items that come with text (an import) are searched from the start again.
void TTreeSearch::ItemsInserted()
{
    if (!Active() || m_restartPending)
        return;
    for (int row = m_insertFirst; row <= m_insertLast; ++row) {
        TTreeListTextNode* item = m_insertParent ? m_insertParent->Child(row) : m_tree.TopItem(row);
        if (item && HasText(item)) {
            Invalidate(0);
            return;
        }
    }
}

void TTreeSearch::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    std::vector<TTreeListTextNode*> roots;
    for (int row = first; row <= last; ++row)
        if (TTreeListTextNode* item = parent ? parent->Child(row) : m_tree.TopItem(row))
            roots.push_back(item);
    if (roots.empty())
        return;
    auto inside = [&roots](const TTreeListTextNode* item) {
        return std::any_of(roots.begin(), roots.end(), [item](const TTreeListTextNode* root) {
            return item->IsInside(root);
        });
    };
    if (m_cursor && inside(m_cursor))
        m_cursor = m_tree.NextAfterSubtree(roots.back());
    RemoveResultsIf([&](const TFindAllResult& result) { return inside(result.item); });
    // Unlisted matches may have gone with the items, which only a new count tells.
    if (m_unlistedMatches > 0 && !m_restartPending)
        Invalidate(RestartDelayMs);
}

void TTreeSearch::ItemMoved()
{
    if (!Active() || m_restartPending)
        return;
    // A running scan could meet a moved item twice or never.
    if (m_cursor || m_unlistedMatches > 0)
        Invalidate(0);
    else
        SortResults();
}

void TTreeSearch::SortResults()
{
    // One path per item: its results stay together and in their order.
    std::vector<std::pair<std::vector<int>, size_t>> runs;
    for (size_t i = 0; i < m_results.size(); ++i)
        if (i == 0 || m_results[i].item != m_results[i - 1].item)
            runs.emplace_back(IndexPath(m_results[i].item), i);
    const bool ordered = std::is_sorted(runs.begin(), runs.end());
    if (ordered) {
        // The order holds, the paths shown may not.
        if (!m_results.empty())
            Notify([this](TTreeSearchObserver& o) { o.ResultsChanged(0, static_cast<int>(m_results.size()) - 1); });
        return;
    }
    std::sort(runs.begin(), runs.end());
    Notify([](TTreeSearchObserver& o) { o.ResultsAboutToBeReset(); });
    std::vector<TFindAllResult> sorted;
    sorted.reserve(m_results.size());
    for (const auto& run : runs)
        for (size_t i = run.second; i < m_results.size() && m_results[i].item == m_results[run.second].item; ++i)
            sorted.push_back(std::move(m_results[i]));
    m_results.swap(sorted);
    Notify([](TTreeSearchObserver& o) { o.ResultsReset(); });
}

void TTreeSearch::AboutToReset()
{
    if (!Active())
        return;
    m_sliceTimer->stop();
    m_restartTimer->stop();
    m_cursor = nullptr;
    m_restartPending = false;
    ClearResults();
    Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
}

void TTreeSearch::ResetDone()
{
    if (Active())
        Invalidate(0);
}

void TTreeSearch::ItemChanged(TTreeListTextNode* item)
{
    if (!Active() || m_restartPending)
        return;
    if (m_unlistedMatches > 0) {
        Invalidate(RestartDelayMs);
        return;
    }
    // The scan has yet to reach it.
    if (m_cursor && !Precedes(item, m_cursor))
        return;
    Rematch(item);
    // A new name shows in the paths of the results below the item.
    if (item->HasChildren() && !m_results.empty())
        Notify([this](TTreeSearchObserver& o) { o.ResultsChanged(0, static_cast<int>(m_results.size()) - 1); });
}

void TTreeSearch::Rematch(TTreeListTextNode* item)
{
    auto isItem = [item](const TFindAllResult& result) { return result.item == item; };
    size_t begin = static_cast<size_t>(std::find_if(m_results.begin(), m_results.end(), isItem) - m_results.begin());
    size_t end = begin;
    while (end < m_results.size() && isItem(m_results[end]))
        ++end;
    std::vector<TFindAllResult> fresh = ListItem(item);
    if (begin == end) {
        if (fresh.empty())
            return;
        begin = end = static_cast<size_t>(
            std::lower_bound(m_results.begin(), m_results.end(), item,
                             [](const TFindAllResult& result, const TTreeListTextNode* x) {
                                 return Precedes(result.item, x);
                             }) -
            m_results.begin());
    }
    if (m_results.size() - (end - begin) + fresh.size() > static_cast<size_t>(MaxListed)) {
        Invalidate(RestartDelayMs);
        return;
    }
    if (fresh.size() == end - begin) {
        // Same number of matches: changed in place, so a selected result stays selected.
        std::move(fresh.begin(), fresh.end(), m_results.begin() + static_cast<std::ptrdiff_t>(begin));
        Notify([&](TTreeSearchObserver& o) { o.ResultsChanged(static_cast<int>(begin), static_cast<int>(end) - 1); });
        return;
    }
    EraseResults(begin, end);
    InsertResults(begin, fresh);
    RecountListedItems();
    Notify([](TTreeSearchObserver& o) { o.ProgressChanged(); });
}
