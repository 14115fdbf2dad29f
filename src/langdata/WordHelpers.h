#pragma once

#include <QString>

// The small text functions every line rule uses. Words are separated by the
// space character alone; a tab or any other character belongs to a word.
// Positions are 1-based. None of them fails: where a rule finds nothing the
// result is the empty text.

[[nodiscard]] QString FirstWord(const QString &text);
// Also stops at "=", for declarations written as "integer bj_X=5".
[[nodiscard]] QString SecondWord(const QString &text);
// n > 0 counts words from the start; n < 0 counts from the end of the text
// cut at its first "//"; n == 0 gives the empty text.
[[nodiscard]] QString WordAt(const QString &text, int n);
// The characters after the last space; no trimming, no comment cut.
[[nodiscard]] QString LastWord(const QString &text);
// The type of a global declaration line, with or without "constant".
[[nodiscard]] QString GlobalType(const QString &text);
[[nodiscard]] QString MidText(const QString &text, qsizetype start, qsizetype count);
