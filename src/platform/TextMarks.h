#pragma once

#include <QString>

#include <vector>

// Marks over ranges of a text that are not part of it: a kind and a message
// per range, by 0-based line and column. The owner reports each edit by the
// lines it touched; the marks on them go, those below move with their lines.
class TextMarks {
public:
    enum class Kind { Error, Warning };
    struct Mark {
        int line = 0;
        int column = 0;
        int length = 1;
        Kind kind = Kind::Error;
        QString message;
    };

    // Replaces the marks, for a text of `lineCount` lines; they are kept in
    // text order.
    void Set(std::vector<Mark> marks, int lineCount);
    void Clear();
    [[nodiscard]] bool IsEmpty() const { return m_marks.empty(); }
    [[nodiscard]] const std::vector<Mark> &All() const { return m_marks; }
    [[nodiscard]] int Count(Kind kind) const;

    // An edit left lines `first` to `last` (in the text as it is now) where
    // the old text had its touched lines, and the text has `lineCount` lines
    // now. True when a mark went or moved.
    bool Edited(int first, int last, int lineCount);

    // The indexes [begin, end) of the marks on lines `first` to `last`.
    [[nodiscard]] std::pair<size_t, size_t> OnLines(int first, int last) const;

    // The mark after (line, column), or before it, wrapping around the text;
    // -1 when there are none.
    [[nodiscard]] int Next(int line, int column) const;
    [[nodiscard]] int Previous(int line, int column) const;

private:
    std::vector<Mark> m_marks;
    int m_lineCount = 0;
};
