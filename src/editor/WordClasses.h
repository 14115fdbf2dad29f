#pragma once

#include "SyntaxType.h"

#include <QStringList>

#include <initializer_list>

// What receives word classes: the editor control, or a highlighter without a
// window. The catalogue registers into each in turn, then rebuilds them.
class WordClassTarget {
public:
    virtual ~WordClassTarget() = default;
    virtual void AddWords(const WordPairs &Words) = 0;
    virtual void RebuildHighlighting() = 0;
};

// The (word, class) pairs of one file. With `wordClass`, `lines` is a plain word
// list: every entry, as it stands, becomes a word of one fresh copy of the
// class. Without, `lines` is a syntax definition: ";" comment, "@colour" new
// class, "!style" for the current class, anything else a word of it; within the
// file the first spelling of a word (case ignored) wins and the pairs come in
// case-insensitive order. Raises TolvaneError for a colour that cannot be read.
[[nodiscard]] WordPairs CollectWordClasses(const QStringList &lines, const TSyntaxType *wordClass);

// Collects the words of one file and hands them to each target in order.
// Nothing happens for an empty `lines`; on an error no target receives any.
void LoadWordClasses(
    const QStringList &Lines, const TSyntaxType *WordClass, std::initializer_list<WordClassTarget *> targets);
