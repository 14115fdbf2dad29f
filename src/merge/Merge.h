#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

// The merge of several scripts into one: the sources' lines in order, each
// source followed by one blank line, without declarations whose name an
// earlier line already declared. The lines of all globals blocks make one
// block, where the first one stood or before the first function if that came
// earlier. A declaration is known only by the first word of its line;
// globals, constants, functions and natives share one case-sensitive name
// space.

// True when the line, after its leading spaces, begins with `text`. A prefix
// test: "functional" begins with "function", "endfunction" does not.
[[nodiscard]] bool LineBeginsWith(QStringView line, QStringView text);

struct MergeOutput {
    QStringList lines;
    // Every name declared by a copied line, sorted case-sensitively in the
    // user's locale.
    QStringList declaredNames;
};

// The merge itself, on the sources' lines as read (without line breaks).
[[nodiscard]] MergeOutput MergeSources(const QList<QStringList> &sources);

struct MergeResult {
    QString error; // the text for the user when the merge did not run
    QStringList declaredNames;
    QStringList messageLines; // "Done merging files!" and "Output: " + target name

    [[nodiscard]] bool Succeeded() const { return error.isEmpty(); }
};

// Reads every source, then writes the target with CR LF after every line. A
// source that cannot be read stops the merge before anything is written; a
// target that cannot be written is left as it was. The target may be one of
// the sources.
[[nodiscard]] MergeResult MergeFiles(const QStringList &sourceFiles, const QString &targetFile);

// The file name without its folder, for the message and the dialog's rows.
[[nodiscard]] QString MergeFileName(const QString &path);
