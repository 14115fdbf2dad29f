#include "PendingLines.h"

#include <algorithm>

void PendingLines::Add(int first, int last)
{
    if (last < first)
        return;
    // Merged with every range it overlaps or touches.
    auto it = m_ranges.upper_bound(first);
    if (it != m_ranges.begin() && std::prev(it)->second >= first - 1)
        --it;
    while (it != m_ranges.end() && it->first <= last + 1) {
        first = std::min(first, it->first);
        last = std::max(last, it->second);
        it = m_ranges.erase(it);
    }
    m_ranges.emplace(first, last);
}

bool PendingLines::Contains(int line) const
{
    auto it = m_ranges.upper_bound(line);
    return it != m_ranges.begin() && std::prev(it)->second >= line;
}

bool PendingLines::Intersects(int first, int last) const
{
    auto it = m_ranges.upper_bound(last);
    return first <= last && it != m_ranges.begin() && std::prev(it)->second >= first;
}

int PendingLines::First() const
{
    return m_ranges.empty() ? -1 : m_ranges.begin()->first;
}

std::vector<PendingLines::Range> PendingLines::Take(int first, int last)
{
    std::vector<Range> taken;
    if (last < first)
        return taken;
    auto it = m_ranges.upper_bound(first);
    if (it != m_ranges.begin() && std::prev(it)->second >= first)
        --it;
    std::vector<Range> kept;
    while (it != m_ranges.end() && it->first <= last) {
        const auto [a, b] = *it;
        taken.emplace_back(std::max(a, first), std::min(b, last));
        if (a < first)
            kept.emplace_back(a, first - 1);
        if (b > last)
            kept.emplace_back(last + 1, b);
        it = m_ranges.erase(it);
    }
    for (const auto &[a, b] : kept)
        m_ranges.emplace(a, b);
    return taken;
}

void PendingLines::LinesAdded(int line, int count)
{
    if (count == 0 || m_ranges.empty())
        return;
    std::vector<Range> moved;
    moved.reserve(m_ranges.size());
    for (const auto &[a, b] : m_ranges) {
        if (count > 0) {
            // The new lines follow `line` and wait as it does.
            moved.emplace_back(a > line ? a + count : a, b >= line ? b + count : b);
            continue;
        }
        const int removed = -count;
        if (b <= line)
            moved.emplace_back(a, b);
        else if (a > line + removed)
            moved.emplace_back(a - removed, b - removed);
        else
            moved.emplace_back(std::min(a, line), b > line + removed ? b - removed : line);
    }
    m_ranges.clear();
    for (const auto &[a, b] : moved)
        Add(a, b);
}
