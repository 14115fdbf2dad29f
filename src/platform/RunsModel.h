#pragma once

#include "Rtf.h"

#include <cstdint>
#include <functional>
#include <vector>

// The colours and font styles of a text, one run list per line, kept apart
// from the text itself so that styling is never an edit. Edits carry the runs
// along: inserted text takes the style of the character before it, deleted
// text takes its style with it.
class RunsModel {
public:
    struct Line {
        LineRuns runs;
        int32_t length = 0;
        bool shown = false; // the runs are in the line's layout
        // The columns whose runs are in the layout; a long line gets only
        // those around the part in view.
        int32_t shownFrom = 0;
        int32_t shownTo = 0;
    };

    // Overlays styled ranges (start, length within the line) on one line.
    struct LineRange {
        int start;
        int length;
        TextAttributes attributes;
    };

    [[nodiscard]] size_t size() const { return m_lines.size(); }
    [[nodiscard]] Line &operator[](size_t line) { return m_lines[line]; }
    [[nodiscard]] const Line &operator[](size_t line) const { return m_lines[line]; }

    // Unstyled lines of the given lengths.
    void Reset(size_t count, const std::function<int32_t(size_t)> &lengthOf);
    // Unstyled lines of the given lengths, styled by `runs` when it has one
    // list per line.
    void Reset(size_t count, const std::function<int32_t(size_t)> &lengthOf, std::vector<LineRuns> &&runs);

    // Carries the runs along an edit at (line, column) of the old text that
    // removed `removed` characters (a line break counts one) and left the new
    // lines from `line` to `line + newLengths.size() - 1` with those lengths.
    // False when the edit does not fit the model; the caller then resets it.
    [[nodiscard]] bool ApplyEdit(int line, int column, int64_t removed,
        const std::vector<int32_t> &newLengths, size_t newCount, const TextAttributes &inserted);

    // What text typed at (line, column) looks like: the character before it.
    [[nodiscard]] TextAttributes InsertionAttributes(int line, int column) const;
    [[nodiscard]] TextAttributes AttributesAt(int line, int column) const;
    [[nodiscard]] const LineRuns &Runs(int line) const;
    // False for a line outside the model or no ranges.
    bool StyleLine(int line, const std::vector<LineRange> &ranges);
    void HideAll();

private:
    std::vector<Line> m_lines { Line() };
};
