#include "document/linksto.h"

#include "document/parallelwalk.h"
#include "document/textcodec.h"
#include "document/treelist.h"

#include <algorithm>
#include <memory>

namespace {

std::u16string NameOf(const TTreeListTextNode* item)
{
    return item ? DecodeText(item->GetText(TreeListColumnName)).text : std::u16string();
}

bool Contains(std::string_view bytes, const std::string& part)
{
    return !part.empty() && bytes.find(part) != bytes.npos;
}

}  // namespace

TLinksToScan::TLinksToScan(const TTreeList& tree, const TTreeListTextNode* target)
    : TLinksToScan(tree, target, tree.TopItem(0), nullptr)
{
}

TLinksToScan::TLinksToScan(const TTreeList& tree, const TTreeListTextNode* target, TTreeListTextNode* from,
                           const TTreeListTextNode* to)
    : m_tree(tree), m_target(target), m_name(NameOf(target)), m_nameMatch(m_name),
      m_nameInBytes(m_name.find(u'/') == std::u16string::npos), m_cursor(m_name.empty() ? nullptr : from), m_end(to)
{
    if (m_cursor == m_end)
        m_cursor = nullptr;
}

bool TLinksToScan::Scan(std::chrono::steady_clock::time_point deadline)
{
    const bool timed = deadline != std::chrono::steady_clock::time_point::max();
    for (unsigned n = 1; m_cursor; ++n) {
        TTreeListTextNode* item = m_cursor;
        if (item == m_target) {
            m_passedTarget = true;
        } else if (!m_passedTarget) {
            if (!m_nameFindsEarlier && m_nameMatch(item))
                m_nameFindsEarlier = true;
            if (m_watch && !m_watchFindsEarlier && (*m_watch)(item))
                m_watchFindsEarlier = true;
        }
        if (m_stopAtTarget && (m_passedTarget || m_nameFindsEarlier)) {
            m_cursor = nullptr;
            break;
        }
        const std::string_view bytes = m_stopAtTarget ? std::string_view() : item->GetText(TreeListColumnDesc);
        bool decoded = false;
        if (bytes.find("[[") != bytes.npos &&
            (!m_nameInBytes || Contains(bytes, m_nameMatch.Utf8()) || Contains(bytes, m_nameMatch.Windows1252()))) {
            ScanDescription(item);
            decoded = true;
        }
        m_cursor = m_tree.NextInDocument(item);
        if (m_cursor == m_end)
            m_cursor = nullptr;
        // The clock costs more than an item the bytes rule out.
        if (timed && (decoded || n % 1024 == 0) && std::chrono::steady_clock::now() >= deadline)
            break;
    }
    return Done();
}

void TLinksToScan::ScanDescription(TTreeListTextNode* holder)
{
    TCandidate candidate{{holder, DecodeText(holder->GetText(TreeListColumnDesc)), {}}, {}};
    const std::u16string_view text = candidate.links.description.text;
    for (const TLinkSpan& span : FindLinks(text)) {
        if (span.kind != TLinkKind::Item)
            continue;
        std::vector<std::u16string> path = ItemLinkPath(text.substr(span.start, span.length));
        if (path.back() != m_name)
            continue;
        const bool alone = path.size() == 1;
        if (!alone) {
            auto [at, added] = m_pathFinds.try_emplace(std::move(path), false);
            if (added)
                at->second = ResolveItemLink(m_tree, at->first) == m_target;
            if (!at->second)
                continue;
        }
        candidate.links.links.push_back(span);
        candidate.byNameAlone.push_back(alone);
    }
    if (!candidate.links.links.empty())
        m_candidates.push_back(std::move(candidate));
}

std::vector<TLinksInDescription> TLinksToScan::TakeFound()
{
    return TakeFound({this});
}

std::vector<TLinksInDescription> TLinksToScan::TakeFound(const std::vector<TLinksToScan*>& stretches)
{
    std::vector<TLinksInDescription> found;
    if (std::any_of(stretches.begin(), stretches.end(), [](const TLinksToScan* s) { return !s->Done(); }))
        return found;
    const bool nameFindsEarlier = FindsEarlier(stretches, &TLinksToScan::m_nameFindsEarlier);
    for (TLinksToScan* stretch : stretches)
        stretch->TakeFound(nameFindsEarlier, found);
    return found;
}

bool TLinksToScan::FindsEarlier(const std::vector<TLinksToScan*>& stretches, bool TLinksToScan::*flag)
{
    for (const TLinksToScan* stretch : stretches) {
        if (stretch->*flag)
            return true;
        if (stretch->m_passedTarget)
            break;
    }
    return false;
}

bool TLinksToScan::WatchedNameFindsEarlier(const std::vector<TLinksToScan*>& stretches)
{
    return FindsEarlier(stretches, &TLinksToScan::m_watchFindsEarlier);
}

void TLinksToScan::TakeFound(bool nameFindsEarlier, std::vector<TLinksInDescription>& found)
{
    for (TCandidate& candidate : m_candidates) {
        std::vector<TLinkSpan>& links = candidate.links.links;
        if (nameFindsEarlier) {
            size_t kept = 0;
            for (size_t i = 0; i < links.size(); ++i)
                if (!candidate.byNameAlone[i])
                    links[kept++] = links[i];
            links.resize(kept);
        }
        if (!links.empty())
            found.push_back(std::move(candidate.links));
    }
    m_candidates.clear();
}

namespace {

std::vector<TLinksInDescription> FindInStretches(const TTreeList& tree, const TTreeListTextNode* item,
                                                 const std::u16string* newName, bool* newNameFindsEarlier)
{
    const std::vector<TTreeListTextNode*> starts = DocumentStretches(tree);
    std::vector<std::unique_ptr<TLinksToScan>> scans;
    std::vector<TLinksToScan*> stretches;
    for (size_t i = 0; i < starts.size(); ++i) {
        scans.push_back(
            std::make_unique<TLinksToScan>(tree, item, starts[i], i + 1 < starts.size() ? starts[i + 1] : nullptr));
        if (newName)
            scans.back()->WatchName(*newName);
        stretches.push_back(scans.back().get());
    }
    RunParallel(stretches.size(), [&stretches](size_t i) { stretches[i]->Scan(); });
    if (newNameFindsEarlier)
        *newNameFindsEarlier = TLinksToScan::WatchedNameFindsEarlier(stretches);
    return TLinksToScan::TakeFound(stretches);
}

}  // namespace

std::vector<TLinksInDescription> FindLinksTo(const TTreeList& tree, const TTreeListTextNode* item)
{
    return FindInStretches(tree, item, nullptr, nullptr);
}

std::vector<TLinksInDescription> FindLinksTo(const TTreeList& tree, const TTreeListTextNode* item,
                                             const std::u16string& newName, bool& newNameFindsEarlier)
{
    return FindInStretches(tree, item, &newName, &newNameFindsEarlier);
}
