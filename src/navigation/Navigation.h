#pragma once

#include "analysis/Analysis.h"
#include "platform/StringLists.h"

#include <QList>
#include <QString>

#include <utility>

// The script's own declarations as go to symbol and the outline show them:
// made from an analysis, never from the text, so a large script costs the
// analysis once and a list or tree only a walk over what it found.
namespace Navigation {

enum class SymbolKind {
    Library,
    Scope,
    Struct,
    Interface,
    Module,
    Function,
    Method,
    Native,
    Global,
    Type,
    FunctionInterface,
    TextMacro,
};

// Lines are 0-based editor lines. `column` is where the analysis found the
// name, 1-based in bytes of the line, 0 when it gave none. `parent` indexes
// the enclosing symbol of the same list, -1 at the top.
struct Symbol {
    SymbolKind kind = SymbolKind::Function;
    QString name;
    int line = 0;
    int column = 0;
    int firstLine = 0; // opener to closer
    int lastLine = 0;
    int parent = -1;

    friend bool operator==(const Symbol &, const Symbol &) = default;
};

// The declarations of the analysis' first source (the script; imported files
// are left out) in document order, parents before their children. vJASS gives
// its tree without variables of structs, blocks and keywords; plain JASS its
// types, natives, functions and globals, all at the top.
[[nodiscard]] QList<Symbol> Symbols(const Analysis::Result &result);

// The word a kind is called by in the language ("struct", "function interface").
[[nodiscard]] QString KindName(SymbolKind kind);

// Where the symbol's name stands in its line: start and length in characters.
// A name the line does not hold (written by a textmacro) gives the first
// character that is no blank, and length 0.
[[nodiscard]] std::pair<int, int> NameRange(const QString &lineText, const Symbol &symbol);

// The symbols of one analysis with what lists, filters and trees need of
// them, worked out once: the order by name and each symbol's children.
class SymbolIndex {
public:
    SymbolIndex() = default;
    // `comparer` gives the order by name; a thread of its own needs one of its own.
    explicit SymbolIndex(
        QList<Symbol> symbols, const StringComparer &comparer = StringComparer::CaseInsensitive());

    [[nodiscard]] const QList<Symbol> &All() const { return m_symbols; }
    [[nodiscard]] qsizetype Size() const { return m_symbols.size(); }
    [[nodiscard]] const Symbol &operator[](qsizetype i) const { return m_symbols[i]; }
    // The children of a symbol (-1: the top level), in document order.
    [[nodiscard]] const QList<int> &Children(int parent) const;
    // The symbols whose names hold `typed` (case ignored): those that begin
    // with it first, then those where it begins a word inside the name (after
    // "_", at a capital after a small letter, where digits start or end), each
    // group sorted by name as the explorer sorts. Empty: every symbol.
    [[nodiscard]] QList<int> Filter(const QString &typed) const;
    // The innermost symbol whose lines hold `line`, -1 when none does.
    [[nodiscard]] int At(int line) const;

private:
    QList<Symbol> m_symbols;
    QList<int> m_byName; // indices in the explorer's order
    QList<QList<int>> m_children; // [parent + 1]
};

} // namespace Navigation
