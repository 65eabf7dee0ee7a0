#include "app/window/navigationhistory.h"

#include "document/treelist.h"

#include <iterator>

void TNavigationHistory::Push(TTreeListTextNode* item)
{
    if (!m_places.empty()) {
        if (m_places[m_current] == item) {
            m_places.resize(m_current + 1);
            return;
        }
        m_places.resize(m_current + 1);
    }
    m_places.push_back(item);
    if (m_places.size() > Capacity)
        m_places.erase(m_places.begin(), m_places.begin() + static_cast<std::ptrdiff_t>(m_places.size() - Capacity));
    m_current = m_places.size() - 1;
}

void TNavigationHistory::Visit(TTreeListTextNode* from, TTreeListTextNode* to)
{
    if (from)
        Push(from);
    if (to)
        Push(to);
}

bool TNavigationHistory::CanGoBack(const TTreeListTextNode* current) const
{
    if (m_places.empty())
        return false;
    return m_current > 0 || (current && current != m_places[m_current]);
}

TTreeListTextNode* TNavigationHistory::Back(TTreeListTextNode* current)
{
    if (!CanGoBack(current))
        return nullptr;
    if (current && current != m_places[m_current]) {
        // Keep the forward places: the user only strayed from this one.
        m_places.insert(m_places.begin() + static_cast<std::ptrdiff_t>(m_current + 1), current);
        if (m_places.size() > Capacity) {
            if (m_current == 0) {
                m_places.pop_back();
            } else {
                m_places.erase(m_places.begin());
                --m_current;
            }
        }
        return m_places[m_current];
    }
    return m_places[--m_current];
}

TTreeListTextNode* TNavigationHistory::Forward()
{
    return CanGoForward() ? m_places[++m_current] : nullptr;
}

void TNavigationHistory::Forget(const TTreeListNode* root)
{
    std::vector<TTreeListTextNode*> kept;
    size_t current = 0;
    for (size_t i = 0; i < m_places.size(); ++i) {
        TTreeListTextNode* place = m_places[i];
        // Two places that met when the ones between them went become one.
        if (!place->IsInside(root) && (kept.empty() || kept.back() != place))
            kept.push_back(place);
        if (i == m_current)
            current = kept.empty() ? 0 : kept.size() - 1;
    }
    m_places = std::move(kept);
    m_current = current;
}

void TNavigationHistory::Clear()
{
    m_places.clear();
    m_current = 0;
}
