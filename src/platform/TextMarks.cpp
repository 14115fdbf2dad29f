#include "TextMarks.h"

#include <algorithm>

namespace {

bool Before(const TextMarks::Mark &mark, int line, int column)
{
    return mark.line < line || (mark.line == line && mark.column < column);
}

} // namespace

void TextMarks::Set(std::vector<Mark> marks, int lineCount)
{
    std::stable_sort(
        marks.begin(), marks.end(), [](const Mark &a, const Mark &b) { return Before(a, b.line, b.column); });
    m_marks = std::move(marks);
    m_lineCount = lineCount;
}

void TextMarks::Clear()
{
    m_marks.clear();
}

int TextMarks::Count(Kind kind) const
{
    return int(
        std::count_if(m_marks.begin(), m_marks.end(), [kind](const Mark &m) { return m.kind == kind; }));
}

bool TextMarks::Edited(int first, int last, int lineCount)
{
    const int added = lineCount - m_lineCount;
    m_lineCount = lineCount;
    if (m_marks.empty())
        return false;
    // The touched lines of the old text ended where the edit's lines end now,
    // less the lines it added.
    const int oldLast = last - added;
    const auto [begin, end] = OnLines(first, std::max(first, oldLast));
    bool changed = begin != end;
    auto below = m_marks.erase(m_marks.begin() + qsizetype(begin), m_marks.begin() + qsizetype(end));
    if (added != 0 && below != m_marks.end()) {
        changed = true;
        for (; below != m_marks.end(); ++below)
            below->line += added;
    }
    return changed;
}

std::pair<size_t, size_t> TextMarks::OnLines(int first, int last) const
{
    const auto begin = std::lower_bound(
        m_marks.begin(), m_marks.end(), first, [](const Mark &m, int line) { return m.line < line; });
    const auto end
        = std::upper_bound(begin, m_marks.end(), last, [](int line, const Mark &m) { return line < m.line; });
    return { size_t(begin - m_marks.begin()), size_t(end - m_marks.begin()) };
}

int TextMarks::Next(int line, int column) const
{
    if (m_marks.empty())
        return -1;
    const auto after = std::find_if(
        m_marks.begin(), m_marks.end(), [&](const Mark &m) { return !Before(m, line, column + 1); });
    return after == m_marks.end() ? 0 : int(after - m_marks.begin());
}

int TextMarks::Previous(int line, int column) const
{
    if (m_marks.empty())
        return -1;
    const auto after = std::find_if(
        m_marks.begin(), m_marks.end(), [&](const Mark &m) { return !Before(m, line, column); });
    return after == m_marks.begin() ? int(m_marks.size()) - 1 : int(after - m_marks.begin()) - 1;
}
