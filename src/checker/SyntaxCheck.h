#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The syntax check: every line is judged by itself, by its first word and by
// counts of its words, with no notion of blocks, names or types. The check is a
// pure function of the lines so the editor and tolvane-cli share it.

// What a check found. `line` is the 0-based index of the failing line, or -1
// when every line passed; `message` is the text shown to the user either way.
struct SyntaxCheckResult {
    qsizetype line = -1;
    QString message;

    [[nodiscard]] bool Passed() const { return line < 0; }
};

// The text shown when no line fails.
[[nodiscard]] QString NoErrorsMessage();

// Stops at the first failing line.
[[nodiscard]] SyntaxCheckResult CheckSyntax(const QStringList &lines);
// Goes on after a failing line: one result per failing line, in order; empty
// when every line passed.
[[nodiscard]] QList<SyntaxCheckResult> CheckSyntaxAll(const QStringList &lines);
// One line by itself: the error message, or the empty text when it passes.
[[nodiscard]] QString CheckLine(const QString &line);

// Counts the tokens of the text before its first "//": runs of characters that
// are not in `separators`, plus one for every character of `counted` (a subset
// of the separators).
[[nodiscard]] int TokenCount(QStringView text, QStringView separators, QStringView counted);
// Words split at spaces alone.
[[nodiscard]] int WordCount(QStringView text);
// Words split at spaces and "=", plus one for every "=".
[[nodiscard]] int AssignmentCount(QStringView text);
