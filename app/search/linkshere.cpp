#include "app/search/linkshere.h"

#include "document/linksto.h"

#include <QTimer>
#include <algorithm>

namespace {

// Typing in a description changes the tree at every key: the walk starts
// again only once the user has paused this long.
constexpr int RestartDelayMs = 300;

// How much of a long line a result keeps around its link.
constexpr int ContextBefore = 40;
constexpr int MaxLineText = 240;

bool IsBreak(char16_t c)
{
    return c == u'\n' || c == u'\r';
}

// Each link with its line and its place in the editor's text, where every
// line break (CR LF, a lone CR or LF) is one character.
void AppendResults(const TLinksInDescription& found, std::vector<TLinkHereResult>& out)
{
    const std::u16string& text = found.description.text;
    size_t at = 0;         // counted up to here
    size_t lineStart = 0;  // in `text`
    int line = 1;
    int folded = 0;  // CR LF pairs before `at`, each one character fewer in the editor
    for (const TLinkSpan& span : found.links) {
        for (; at < span.start; ++at) {
            if (!IsBreak(text[at]))
                continue;
            if (text[at] == u'\r' && at + 1 < text.size() && text[at + 1] == u'\n') {
                ++folded;
                ++at;
            }
            ++line;
            lineStart = at + 1;
        }
        size_t lineEnd = span.start + span.length;
        while (lineEnd < text.size() && !IsBreak(text[lineEnd]))
            ++lineEnd;
        size_t begin = lineStart;
        QString prefix, suffix;
        if (span.start - lineStart > ContextBefore + 10) {
            begin = span.start - ContextBefore;
            prefix = QStringLiteral("\u2026");
        }
        size_t end = lineEnd;
        if (end - begin > MaxLineText) {
            end = std::max(begin + MaxLineText, span.start + span.length);
            if (end < lineEnd)
                suffix = QStringLiteral("\u2026");
        }
        QString shown = prefix + QString::fromStdU16String(text.substr(begin, end - begin)) + suffix;
        // Tabs and other controls would draw as boxes or move the columns.
        for (QChar& c : shown)
            if (c.unicode() < 0x20)
                c = QLatin1Char(' ');
        out.push_back({found.holder, static_cast<int>(span.start) - folded, static_cast<int>(span.length), line, shown,
                       static_cast<int>(prefix.size() + span.start - begin)});
    }
}

}  // namespace

TLinksHere::TLinksHere(TTreeList& tree, TGuard& guard, QObject* parent)
    : QObject(parent), m_tree(tree), m_guard(guard), m_sliceTimer(new QTimer(this)), m_restartTimer(new QTimer(this))
{
    m_sliceTimer->setSingleShot(true);
    m_sliceTimer->setInterval(0);
    connect(m_sliceTimer, &QTimer::timeout, this, [this] { m_guard.Run([this] { RunSlice(); }); });
    m_restartTimer->setSingleShot(true);
    m_restartTimer->setInterval(RestartDelayMs);
    connect(m_restartTimer, &QTimer::timeout, this, [this] { m_guard.Run([this] { Start(false, true); }); });
    m_tree.AddObserver(this);
}

TLinksHere::~TLinksHere()
{
    m_tree.RemoveObserver(this);
}

void TLinksHere::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (enabled) {
        Restart();
    } else {
        Stop();
        m_target = nullptr;
        SetResults({});
    }
}

bool TLinksHere::Running() const
{
    return m_scan != nullptr || m_restartTimer->isActive();
}

void TLinksHere::Restart()
{
    Start(true, false);
}

void TLinksHere::Start(bool retarget, bool keepList)
{
    Stop();
    if (!m_enabled)
        return;
    if (retarget || !m_target)
        m_target = m_tree.FocusedItem();
    if (!keepList)
        SetResults({});
    if (m_target) {
        m_scan = std::make_unique<TLinksToScan>(m_tree, m_target);
        m_sliceTimer->start();
    } else if (keepList) {
        SetResults({});
    }
    emit ProgressChanged();
}

void TLinksHere::Stop()
{
    m_sliceTimer->stop();
    m_restartTimer->stop();
    m_scan.reset();
}

void TLinksHere::RunSlice()
{
    if (!m_scan)
        return;
    if (!m_scan->Scan(std::chrono::steady_clock::now() + SliceTime)) {
        m_sliceTimer->start();
        return;
    }
    std::vector<TLinkHereResult> results;
    for (const TLinksInDescription& found : m_scan->TakeFound())
        AppendResults(found, results);
    m_scan.reset();
    SetResults(std::move(results));
    emit ProgressChanged();
}

void TLinksHere::Finish()
{
    if (m_restartTimer->isActive())
        Start(false, true);
    if (m_scan)
        m_scan->Scan();
    RunSlice();
}

void TLinksHere::SetResults(std::vector<TLinkHereResult> results)
{
    if (results.empty() && m_results.empty())
        return;
    emit ResultsAboutToBeReset();
    m_results = std::move(results);
    emit ResultsReset();
}

void TLinksHere::Invalidate()
{
    if (!m_enabled)
        return;
    // A walk cannot go on over a changed tree.
    m_sliceTimer->stop();
    m_scan.reset();
    m_restartTimer->start();
    emit ProgressChanged();
}

void TLinksHere::ItemsAboutToBeRemoved(TTreeListTextNode* parent, int first, int last)
{
    if (!m_enabled)
        return;
    for (int row = first; row <= last; ++row) {
        const TTreeListTextNode* root = parent ? parent->Child(row) : m_tree.TopItem(row);
        if (root && m_target && m_target->IsInside(root))
            m_target = nullptr;
    }
    Stop();
    SetResults({});
    Invalidate();
}

void TLinksHere::AboutToReset()
{
    if (!m_enabled)
        return;
    Stop();
    m_target = nullptr;
    SetResults({});
    emit ProgressChanged();
}

void TLinksHere::ItemChanged(TTreeListTextNode* /*item*/)
{
    Invalidate();
}

void TLinksHere::FocusChanged(TTreeListTextNode* item)
{
    if (m_enabled && m_followFocus && item != m_target)
        Restart();
}
