#include "RunsModel.h"

#include <algorithm>

namespace {

// Appends `length` characters of `attributes`, merging with the last run.
void AppendRun(LineRuns &runs, int32_t length, const TextAttributes &attributes)
{
    if (length <= 0)
        return;
    if (!runs.empty() && runs.back().attributes == attributes)
        runs.back().length += length;
    else
        runs.push_back({ length, attributes });
}

// The runs of the characters [from, to) of a line of `lineLength` characters.
LineRuns Slice(const LineRuns &runs, int32_t from, int32_t to)
{
    LineRuns out;
    int32_t at = 0;
    for (const StyleRun &run : runs) {
        const int32_t s = std::max(at, from);
        const int32_t e = std::min(at + run.length, to);
        if (e > s)
            AppendRun(out, e - s, run.attributes);
        at += run.length;
        if (at >= to)
            break;
    }
    if (at < to)
        AppendRun(out, to - std::max(at, from), TextAttributes());
    return out;
}

TextAttributes AttributesOf(const LineRuns &runs, int32_t column)
{
    int32_t at = 0;
    for (const StyleRun &run : runs) {
        if (column < at + run.length)
            return run.attributes;
        at += run.length;
    }
    return TextAttributes();
}

void Concat(LineRuns &runs, const LineRuns &more)
{
    for (const StyleRun &run : more)
        AppendRun(runs, run.length, run.attributes);
}

} // namespace

void RunsModel::Reset(size_t count, const std::function<int32_t(size_t)> &lengthOf)
{
    m_lines.clear();
    m_lines.resize(count);
    for (size_t i = 0; i < count; ++i)
        m_lines[i].length = lengthOf(i);
}

void RunsModel::Reset(
    size_t count, const std::function<int32_t(size_t)> &lengthOf, std::vector<LineRuns> &&runs)
{
    Reset(count, lengthOf);
    if (runs.size() != count)
        return;
    for (size_t i = 0; i < count; ++i)
        m_lines[i].runs = std::move(runs[i]);
}

bool RunsModel::ApplyEdit(int line, int column, int64_t removed, const std::vector<int32_t> &newLengths,
    size_t newCount, const TextAttributes &inserted)
{
    const int oldCount = int(m_lines.size());
    if (line < 0 || line >= oldCount || newLengths.empty() || column > m_lines[size_t(line)].length)
        return false;

    // Where the removal ended in the old text.
    int spanned = 0;
    int64_t remaining = removed;
    int c = column;
    while (line + spanned < oldCount - 1 && c + remaining > m_lines[size_t(line + spanned)].length) {
        remaining -= m_lines[size_t(line + spanned)].length - c + 1;
        c = 0;
        ++spanned;
    }
    const int oldEndLength = m_lines[size_t(line + spanned)].length;
    const int endColumn = int(std::min<int64_t>(c + remaining, oldEndLength));

    const int addedLines = int(newLengths.size()) - 1;
    if (size_t(oldCount - spanned + addedLines) != newCount)
        return false;

    const LineRuns head = Slice(m_lines[size_t(line)].runs, 0, column);
    const LineRuns tail = Slice(m_lines[size_t(line + spanned)].runs, endColumn, oldEndLength);
    const int tailLength = oldEndLength - endColumn;

    std::vector<Line> fresh(size_t(addedLines + 1));
    for (int i = 0; i <= addedLines; ++i) {
        Line &style = fresh[size_t(i)];
        style.length = newLengths[size_t(i)];
        const int before = i == 0 ? column : 0;
        const int after = i == addedLines ? tailLength : 0;
        const int middle = style.length - before - after;
        if (middle < 0)
            return false;
        if (i == 0)
            style.runs = head;
        AppendRun(style.runs, middle, inserted);
        if (i == addedLines)
            Concat(style.runs, tail);
    }
    auto from = m_lines.begin() + line;
    auto to = from + spanned + 1;
    if (spanned == addedLines) {
        std::move(fresh.begin(), fresh.end(), from);
    } else {
        from = m_lines.erase(from, to);
        m_lines.insert(from, std::make_move_iterator(fresh.begin()), std::make_move_iterator(fresh.end()));
    }
    return true;
}

TextAttributes RunsModel::InsertionAttributes(int line, int column) const
{
    if (line < 0 || size_t(line) >= m_lines.size())
        return TextAttributes();
    if (column > 0)
        return AttributesOf(m_lines[size_t(line)].runs, column - 1);
    // At the start of a line the character before is the line break, which
    // looks like the last character of the line it ends.
    if (line > 0 && m_lines[size_t(line - 1)].length > 0)
        return AttributesOf(m_lines[size_t(line - 1)].runs, m_lines[size_t(line - 1)].length - 1);
    return TextAttributes();
}

TextAttributes RunsModel::AttributesAt(int line, int column) const
{
    if (line < 0 || size_t(line) >= m_lines.size())
        return TextAttributes();
    return AttributesOf(m_lines[size_t(line)].runs, column);
}

const LineRuns &RunsModel::Runs(int line) const
{
    static const LineRuns empty;
    return line >= 0 && size_t(line) < m_lines.size() ? m_lines[size_t(line)].runs : empty;
}

bool RunsModel::StyleLine(int line, const std::vector<LineRange> &ranges)
{
    if (line < 0 || size_t(line) >= m_lines.size() || ranges.empty())
        return false;
    Line &style = m_lines[size_t(line)];
    std::vector<TextAttributes> chars;
    chars.reserve(size_t(style.length));
    for (const StyleRun &run : style.runs)
        chars.insert(chars.end(), size_t(run.length), run.attributes);
    chars.resize(size_t(style.length));
    for (const LineRange &range : ranges) {
        const int s = std::clamp(range.start, 0, style.length);
        const int e = std::clamp(range.start + range.length, s, style.length);
        std::fill(chars.begin() + s, chars.begin() + e, range.attributes);
    }
    LineRuns runs;
    for (const TextAttributes &a : chars)
        AppendRun(runs, 1, a);
    style.runs = std::move(runs);
    style.shown = false;
    return true;
}

void RunsModel::HideAll()
{
    for (Line &line : m_lines)
        line.shown = false;
}
