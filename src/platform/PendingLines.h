#pragma once

#include <map>
#include <utility>
#include <vector>

// The lines of a text whose styles are still to be made, kept as ranges that
// move with the lines as edits add and remove them. A line added by an edit
// waits if the line it was split from waits; a line that an edit joins into
// another passes its waiting on to that line.
class PendingLines {
public:
    using Range = std::pair<int, int>; // first and last line

    void Clear() { m_ranges.clear(); }
    void Add(int first, int last);
    [[nodiscard]] bool IsEmpty() const { return m_ranges.empty(); }
    [[nodiscard]] bool Contains(int line) const;
    // Whether a line among first..last waits.
    [[nodiscard]] bool Intersects(int first, int last) const;
    // The first waiting line, -1 when none waits.
    [[nodiscard]] int First() const;
    // Takes the waiting lines among first..last out, in order.
    [[nodiscard]] std::vector<Range> Take(int first, int last);
    // An edit on `line` added `count` lines after it, or removed -`count`
    // lines after it when negative.
    void LinesAdded(int line, int count);

private:
    std::map<int, int> m_ranges; // first -> last; disjoint and not touching
};
