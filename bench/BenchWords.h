#pragma once

// The word classes the editor benchmarks highlight with: the declared names in
// one dark blue class, then a small syntax file of keywords and types.

#include "editor/WordClasses.h"

#include <QStringList>

inline const QStringList kBenchKeywords { "@clNavy", "!bold", "function", "endfunction", "takes", "returns",
    "nothing", "local", "set", "call", "if", "then", "else", "elseif", "endif", "loop", "endloop", "exitwhen",
    "return", "globals", "endglobals", "constant", "native", "type", "extends", "array", "and", "or", "not",
    "@clGreen", "!italic", "true", "false", "null", "@$008080", "integer", "real", "boolean", "string", "handle",
    "code" };

inline void LoadBenchWords(WordClassTarget &target, const QStringList &names)
{
    const TSyntaxType functions(0x800000, 0);
    LoadWordClasses(names, &functions, { &target });
    LoadWordClasses(kBenchKeywords, nullptr, { &target });
    target.RebuildHighlighting();
}
