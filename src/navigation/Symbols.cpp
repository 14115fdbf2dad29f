#include "Navigation.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace Navigation {

namespace {

using Analysis::Declaration;

std::optional<SymbolKind> KindOf(Declaration::Kind kind)
{
    switch (kind) {
    case Declaration::Kind::Library:
        return SymbolKind::Library;
    case Declaration::Kind::Scope:
        return SymbolKind::Scope;
    case Declaration::Kind::Struct:
        return SymbolKind::Struct;
    case Declaration::Kind::Interface:
        return SymbolKind::Interface;
    case Declaration::Kind::Module:
        return SymbolKind::Module;
    case Declaration::Kind::Global:
        return SymbolKind::Global;
    case Declaration::Kind::Function:
        return SymbolKind::Function;
    case Declaration::Kind::Method:
        return SymbolKind::Method;
    case Declaration::Kind::Native:
        return SymbolKind::Native;
    case Declaration::Kind::Type:
        return SymbolKind::Type;
    case Declaration::Kind::FunctionInterface:
        return SymbolKind::FunctionInterface;
    case Declaration::Kind::TextMacro:
        return SymbolKind::TextMacro;
    case Declaration::Kind::Globals:
    case Declaration::Kind::Member:
    case Declaration::Kind::Keyword:
    case Declaration::Kind::Implement:
        break;
    }
    return std::nullopt;
}

bool IsContainer(SymbolKind kind)
{
    return kind == SymbolKind::Library || kind == SymbolKind::Scope || kind == SymbolKind::Struct
        || kind == SymbolKind::Interface || kind == SymbolKind::Module;
}

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

QList<Symbol> VjassSymbols(const QList<Declaration> &outline)
{
    QList<Symbol> symbols;
    // Where each declaration went, -1 when it was left out.
    QList<int> kept(outline.size(), -1);
    for (qsizetype i = 0; i < outline.size(); ++i) {
        const Declaration &d = outline[i];
        const auto kind = KindOf(d.kind);
        if (d.source != 0 || !kind || d.name.isEmpty())
            continue;
        Symbol s { *kind, d.name, d.line - 1, d.column, d.firstLine - 1,
            std::max(d.firstLine, d.lastLine) - 1 };
        // Parents come first: the nearest one kept stands for those left out.
        for (int p = d.parent; p >= 0 && p < i && s.parent < 0; p = outline[p].parent)
            s.parent = kept[p];
        // A textmacro stands where it is defined, inside whatever holds it.
        if (d.kind == Declaration::Kind::TextMacro) {
            for (qsizetype j = symbols.size() - 1; j >= 0 && s.parent < 0; --j) {
                const Symbol &c = symbols[j];
                if (IsContainer(c.kind) && c.firstLine <= s.firstLine && s.lastLine <= c.lastLine)
                    s.parent = int(j);
            }
        }
        kept[i] = int(symbols.size());
        symbols.append(s);
    }
    return symbols;
}

QList<Symbol> JassSymbols(const Analysis::Result &result)
{
    QHash<int, int> bodyEnds; // a function's first line to its last
    for (const Analysis::Scope &scope : result.scopes) {
        if (scope.source == 0)
            bodyEnds.insert(scope.firstLine, scope.lastLine);
    }
    QList<Symbol> symbols;
    const auto add
        = [&symbols](SymbolKind kind, const QString &name, const Analysis::Position &at, int last) {
              if (at.source == 0 && at.line > 0 && !name.isEmpty())
                  symbols.append({ kind, name, at.line - 1, 0, at.line - 1, std::max(at.line, last) - 1 });
          };
    for (const Analysis::Type &type : result.declared.types)
        add(SymbolKind::Type, type.name, type.at, 0);
    for (const Analysis::Variable &global : result.declared.globals)
        add(SymbolKind::Global, global.name, global.at, 0);
    for (const Analysis::Function &function : result.declared.functions)
        add(function.isNative ? SymbolKind::Native : SymbolKind::Function, function.name, function.at,
            function.isNative ? 0 : bodyEnds.value(function.at.line));
    std::stable_sort(symbols.begin(), symbols.end(),
        [](const Symbol &a, const Symbol &b) { return a.firstLine < b.firstLine; });
    return symbols;
}

} // namespace

QList<Symbol> Symbols(const Analysis::Result &result)
{
    return result.outline.isEmpty() ? JassSymbols(result) : VjassSymbols(result.outline);
}

QString KindName(SymbolKind kind)
{
    switch (kind) {
    case SymbolKind::Library:
        return QStringLiteral("library");
    case SymbolKind::Scope:
        return QStringLiteral("scope");
    case SymbolKind::Struct:
        return QStringLiteral("struct");
    case SymbolKind::Interface:
        return QStringLiteral("interface");
    case SymbolKind::Module:
        return QStringLiteral("module");
    case SymbolKind::Function:
        return QStringLiteral("function");
    case SymbolKind::Method:
        return QStringLiteral("method");
    case SymbolKind::Native:
        return QStringLiteral("native");
    case SymbolKind::Global:
        return QStringLiteral("global");
    case SymbolKind::Type:
        return QStringLiteral("type");
    case SymbolKind::FunctionInterface:
        return QStringLiteral("function interface");
    case SymbolKind::TextMacro:
        return QStringLiteral("textmacro");
    }
    return {};
}

std::pair<int, int> NameRange(const QString &lineText, const Symbol &symbol)
{
    const QString &name = symbol.name;
    // The analysis counts bytes: on a line of ASCII the column is the
    // character, elsewhere the occurrence nearest to it is the name.
    const int hint = symbol.column > 0 ? symbol.column - 1 : 0;
    int best = -1;
    for (qsizetype i = lineText.indexOf(name); i >= 0 && !name.isEmpty(); i = lineText.indexOf(name, i + 1)) {
        const qsizetype end = i + name.size();
        const bool whole = (i == 0 || !IsWordChar(lineText[i - 1]) || !IsWordChar(name.front()))
            && (end == lineText.size() || !IsWordChar(lineText[end]) || !IsWordChar(name.back()));
        if (!whole)
            continue;
        if (best < 0 || std::abs(int(i) - hint) < std::abs(best - hint))
            best = int(i);
        if (i > hint)
            break; // later ones are farther still
    }
    if (best >= 0)
        return { best, int(name.size()) };
    // "operator []" may be written "operator[]": its first word then.
    if (const qsizetype space = name.indexOf(u' '); space > 0) {
        Symbol word = symbol;
        word.name = name.left(space);
        return NameRange(lineText, word);
    }
    int first = 0;
    while (first < lineText.size() && lineText[first].isSpace())
        ++first;
    return { first, 0 };
}

} // namespace Navigation
