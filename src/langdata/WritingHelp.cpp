#include "WritingHelp.h"

#include "Members.h"
#include "analysis/Project.h"
#include "platform/StringLists.h"

#include <algorithm>

namespace WritingHelp {

namespace {

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// Editor lines are 0-based, analysis lines 1-based.
int EditorLine(const Analysis::Position &at)
{
    return at.line - 1;
}

const DeclarationCategory &Category(const Catalogue &catalogue, CategoryKind kind)
{
    return catalogue[kind];
}

// Sorted as the explorer sorts names, each name once (the first wins).
void SortNames(QList<Candidate> &found)
{
    const StringComparer &comparer = StringComparer::CaseInsensitive();
    std::stable_sort(found.begin(), found.end(),
        [&comparer](const Candidate &a, const Candidate &b) { return comparer.Compare(a.name, b.name) < 0; });
    const auto last = std::unique(found.begin(), found.end(), [](const Candidate &a, const Candidate &b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) == 0;
    });
    found.erase(last, found.end());
}

} // namespace

void ScriptIndex::Build(const QByteArray &text, const QString &fileName, const QString &folder)
{
    Analysis::Options options;
    options.declarations = true;
    Analysis::ProjectFiles files;
    m_result = Analysis::AnalyseProject({ Analysis::Source { fileName, text } }, Analysis::PrimitiveApi(),
        options, folder, QString(), &files);
    m_files = files.libraries;
    m_result.diagnostics.clear();
    // The script's own bodies in document order: a vJASS program's are read
    // library by library, a module's once per struct that implements it.
    QList<Analysis::Scope> &scopes = m_result.scopes;
    scopes.removeIf([](const Analysis::Scope &scope) { return scope.source != 0; });
    std::stable_sort(scopes.begin(), scopes.end(),
        [](const Analysis::Scope &a, const Analysis::Scope &b) { return a.firstLine < b.firstLine; });
    m_names = Members::NameIndex(m_result.outline);
}

QString ScriptIndex::FileOf(int source) const
{
    return m_files.value(source - 1);
}

const Analysis::Scope *ScriptIndex::ScopeAt(int line) const
{
    const int wanted = line + 1;
    // Bodies come in document order.
    const auto it = std::partition_point(m_result.scopes.cbegin(), m_result.scopes.cend(),
        [wanted](const Analysis::Scope &scope) { return scope.lastLine < wanted; });
    if (it == m_result.scopes.cend() || it->firstLine > wanted)
        return nullptr;
    return &*it;
}

const Analysis::Function *ScriptIndex::FindFunction(const QString &name) const
{
    for (const Analysis::Function &function : m_result.declared.functions) {
        if (function.name == name)
            return &function;
    }
    return nullptr;
}

QString FunctionDeclaration(const Analysis::Function &function)
{
    QStringList parameters;
    for (const Analysis::Variable &parameter : function.parameters)
        parameters << parameter.type + u' ' + parameter.name;
    return QStringLiteral("%1 takes %2 returns %3")
        .arg(function.name,
            parameters.isEmpty() ? QStringLiteral("nothing") : parameters.join(QStringLiteral(", ")),
            function.returns);
}

QString VariableDeclaration(const Analysis::Variable &variable, const QString &prefix)
{
    QString text = prefix;
    if (variable.isConstant)
        text += QStringLiteral("constant ");
    text += variable.type + u' ';
    if (variable.isArray)
        text += QStringLiteral("array ");
    return text + variable.name;
}

QList<Candidate> Complete(
    const Catalogue &catalogue, const ScriptIndex *script, int line, const QString &prefix)
{
    QList<Candidate> found;
    const auto matches = [&prefix](const QString &name) {
        return !name.isEmpty() && name.startsWith(prefix, Qt::CaseInsensitive) && IsWordChar(name.front());
    };
    if (script) {
        if (const Analysis::Scope *scope = script->ScopeAt(line)) {
            for (const Analysis::Variable &local : scope->locals) {
                if (matches(local.name))
                    found.append({ local.name, NameKind::Local,
                        VariableDeclaration(local, QStringLiteral("local ")) });
            }
            for (const Analysis::Variable &parameter : scope->parameters) {
                if (matches(parameter.name))
                    found.append({ parameter.name, NameKind::Parameter, VariableDeclaration(parameter) });
            }
        }
        for (const Analysis::Function &function : script->Result().declared.functions) {
            if (matches(function.name))
                found.append({ function.name, NameKind::ScriptFunction, FunctionDeclaration(function) });
        }
        for (const Analysis::Variable &global : script->Result().declared.globals) {
            if (matches(global.name))
                found.append({ global.name, NameKind::ScriptGlobal, VariableDeclaration(global) });
        }
    }
    static constexpr NameKind kKinds[kCategoryCount]
        = { NameKind::Function, NameKind::Constant, NameKind::AIFunction, NameKind::AIGlobal };
    for (int c = 0; c < kCategoryCount; ++c) {
        const DeclarationCategory &category = Category(catalogue, CategoryKind(c));
        for (qsizetype i = 0; i < category.Names.size(); ++i) {
            if (matches(category.Names[i]))
                found.append({ category.Names[i], kKinds[c], category.Lines[i] });
        }
    }
    SortNames(found);
    return found;
}

std::optional<QList<Candidate>> CompleteMembers(
    const ScriptIndex *script, int line, const QString &text, int start, const QString &prefix)
{
    const int dot = start - 1;
    if (dot < 0 || dot >= text.size() || text[dot] != u'.' || !InCode(text, dot))
        return std::nullopt;
    QList<Candidate> found;
    if (!script)
        return found;
    const Members::Context context { script->Result(), script->Names(), script->ScopeAt(line), line };
    const std::optional<Members::Target> target = Members::TargetBefore(context, text, dot);
    if (!target)
        return found;
    for (const Members::Member &member : Members::MembersOf(context, *target)) {
        if (member.name.startsWith(prefix, Qt::CaseInsensitive) && IsWordChar(member.name.front()))
            found.append(
                { member.name, member.method ? NameKind::Method : NameKind::Member, member.declaration });
    }
    SortNames(found);
    return found;
}

namespace {

// Walks the line up to `column` with the quote state of the game's lexer: a
// string's backslash escapes the next character, a rawcode runs between single
// quotes, "//" outside them starts a comment. Calls bracket(index) for every
// bracket and comma in code; false when `column` is in a comment or string.
template<typename Bracket> bool WalkCode(const QString &line, int column, Bracket bracket)
{
    QChar quote;
    const int end = std::min(column, int(line.size()));
    for (int i = 0; i < end; ++i) {
        const QChar c = line[i];
        if (!quote.isNull()) {
            if (c == u'\\' && quote == u'"')
                ++i;
            else if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'"' || c == u'\'')
            quote = c;
        else if (c == u'/' && i + 1 < line.size() && line[i + 1] == u'/')
            return false;
        else if (c == u'(' || c == u')' || c == u'[' || c == u']' || c == u',')
            bracket(i);
    }
    return quote.isNull();
}

} // namespace

bool InCode(const QString &line, int column)
{
    return WalkCode(line, column, [](int) {});
}

bool DeclaresName(const QString &line, int column)
{
    // The words and other characters before the word, one token each.
    QStringList tokens;
    const int end = std::clamp(column, 0, int(line.size()));
    for (int i = 0; i < end;) {
        int next = i + 1;
        while (IsWordChar(line[i]) && next < end && IsWordChar(line[next]))
            ++next;
        if (!line[i].isSpace())
            tokens << line.mid(i, next - i);
        i = next;
    }
    static const QStringList kModifiers = { "constant", "private", "public", "static", "stub", "readonly" };
    static const QStringList kNaming = { "function", "native", "type", "method", "struct", "interface",
        "module", "library", "library_once", "scope" };
    // Words after which a word is no type, so the next one is no declared name.
    static const QStringList kNoType = { "call", "set", "return", "if", "elseif", "else", "exitwhen", "loop",
        "endloop", "endif", "endfunction", "globals", "endglobals", "debug", "not", "and", "or", "then",
        "nothing", "takes", "returns", "extends", "array", "local", "implement", "requires", "uses", "needs",
        "initializer", "endstruct", "endmethod", "endlibrary", "endscope", "endmodule", "endinterface" };
    const auto isType = [](const QString &word) { return IsWordChar(word[0]) && !kNoType.contains(word); };
    qsizetype first = 0;
    while (first < tokens.size() && kModifiers.contains(tokens[first]))
        ++first;
    const QStringList words = tokens.mid(first);
    const qsizetype n = words.size();
    if (n == 1 && kNaming.contains(words[0]))
        return true;
    // A local: "local T" or "local T array"; a global: "T" or "T array".
    const qsizetype type = words.value(0) == u"local" ? 1 : 0;
    if ((n == type + 1 || (n == type + 2 && words[type + 1] == u"array")) && isType(words[type]))
        return true;
    // A parameter: "takes T" or ", T" after takes.
    return n >= 3 && words.contains(u"takes") && isType(words[n - 1])
        && (words[n - 2] == u"takes" || words[n - 2] == u",");
}

std::pair<int, int> WordAt(const QString &line, int column)
{
    int start = std::clamp(column, 0, int(line.size()));
    int end = start;
    while (start > 0 && IsWordChar(line[start - 1]))
        --start;
    while (end < line.size() && IsWordChar(line[end]))
        ++end;
    return { start, end - start };
}

std::optional<CallSite> CallAt(
    const QString &line, int column, const std::function<bool(const QString &)> &isFunction)
{
    return CallAt(line, column, [&isFunction](const QString &name, int) { return isFunction(name); });
}

std::optional<CallSite> CallAt(
    const QString &line, int column, const std::function<bool(const QString &, int)> &isFunction)
{
    struct Open {
        int at;
        int commas;
    };
    QList<Open> open;
    const bool inCode = WalkCode(line, column, [&](int i) {
        const QChar c = line[i];
        if (c == u'(' || c == u'[') {
            open.append({ i, 0 });
        } else if (c == u',') {
            if (!open.isEmpty())
                ++open.last().commas;
        } else if (!open.isEmpty()) {
            open.removeLast();
        }
    });
    if (!inCode)
        return std::nullopt;
    for (qsizetype k = open.size() - 1; k >= 0; --k) {
        const int at = open[k].at;
        if (line[at] != u'(')
            continue;
        int nameEnd = at;
        while (nameEnd > 0 && line[nameEnd - 1] == u' ')
            --nameEnd;
        const auto [start, length] = WordAt(line, nameEnd);
        if (length == 0 || start + length != nameEnd)
            continue;
        const QString name = line.mid(start, length);
        if (isFunction(name, start))
            return CallSite { name, open[k].commas, at, start };
    }
    return std::nullopt;
}

QString CallDeclaration(const Catalogue &catalogue, const ScriptIndex *script, const QString &name)
{
    if (name.isEmpty())
        return {};
    if (script) {
        if (const Analysis::Function *function = script->FindFunction(name))
            return FunctionDeclaration(*function);
    }
    for (const CategoryKind kind : { CategoryKind::Functions, CategoryKind::AIFunctions }) {
        const DeclarationCategory &category = Category(catalogue, kind);
        const qsizetype i = category.Names.indexOf(name);
        if (i >= 0)
            return category.Lines[i];
    }
    return {};
}

QString CallDeclarationAt(const Catalogue &catalogue, const ScriptIndex *script, int line,
    const QString &text, int start, const QString &name)
{
    if (start <= 0 || start > text.size() || text[start - 1] != u'.')
        return CallDeclaration(catalogue, script, name);
    if (!script)
        return {};
    const Members::Context context { script->Result(), script->Names(), script->ScopeAt(line), line };
    const std::optional<Members::Target> target = Members::TargetBefore(context, text, start - 1);
    const std::optional<Members::Member> member
        = target ? Members::FindMember(context, *target, name) : std::nullopt;
    return member && member->method ? member->declaration : QString();
}

Tip MakeTip(const QString &declaration, int argument)
{
    Tip tip { declaration, 0, 0 };
    static const QString kTakes = QStringLiteral(" takes ");
    static const QString kReturns = QStringLiteral(" returns ");
    const qsizetype takes = declaration.indexOf(kTakes);
    if (takes < 0)
        return tip;
    qsizetype from = takes + kTakes.size();
    qsizetype end = declaration.indexOf(kReturns, from);
    if (end < 0)
        end = declaration.size();
    if (declaration.mid(from, end - from).trimmed() == u"nothing")
        return tip;
    for (int k = 0; k < argument; ++k) {
        const qsizetype comma = declaration.indexOf(u',', from);
        if (comma < 0 || comma >= end)
            return tip;
        from = comma + 1;
        while (from < end && declaration[from] == u' ')
            ++from;
    }
    qsizetype to = declaration.indexOf(u',', from);
    if (to < 0 || to > end)
        to = end;
    tip.boldStart = int(from);
    tip.boldLength = int(to - from);
    return tip;
}

std::optional<Declaration> FindDeclaration(
    const Catalogue &catalogue, const ScriptIndex *script, int line, const QString &name)
{
    return FindDeclarationAt(catalogue, script, line, QString(), 0, name);
}

std::optional<Declaration> FindDeclarationAt(const Catalogue &catalogue, const ScriptIndex *script, int line,
    const QString &text, int start, const QString &name)
{
    if (name.isEmpty())
        return std::nullopt;
    if (script) {
        // In the script, or in another file of its project.
        const auto inScript = [script](const Analysis::Position &at) {
            return at.source == 0
                ? Declaration { true, EditorLine(at), QString(), QString() }
                : Declaration { false, EditorLine(at), QString(), script->FileOf(at.source) };
        };
        const QList<Analysis::Declaration> &outline = script->Result().outline;
        const Members::Context context { script->Result(), script->Names(), script->ScopeAt(line), line };
        const auto outlined = [&](int index) {
            return inScript(Analysis::Position { outline[index].source, outline[index].line });
        };
        if (start > 0 && start <= text.size() && text[start - 1] == u'.') {
            const std::optional<Members::Target> target = Members::TargetBefore(context, text, start - 1);
            const std::optional<Members::Member> member
                = target ? Members::FindMember(context, *target, name) : std::nullopt;
            // What every struct has stands at the struct.
            if (member)
                return outlined(member->declarationIndex >= 0 ? member->declarationIndex : member->owner);
            // A value the analysis cannot follow: the member of that name nearest.
            const int any = Members::FindNamed(context, name, true);
            if (any >= 0)
                return outlined(any);
            return std::nullopt;
        }
        if (const Analysis::Scope *scope = script->ScopeAt(line)) {
            for (const QList<Analysis::Variable> *list : { &scope->locals, &scope->parameters }) {
                for (const Analysis::Variable &variable : *list) {
                    if (variable.name == name && variable.at.line > 0)
                        return inScript(variable.at);
                }
            }
        }
        // thistype is the struct the code is in.
        if (const int named = name == u"thistype" ? Members::FindObject(context, name)
                                                  : Members::FindNamed(context, name, false);
            named >= 0)
            return outlined(named);
        const Analysis::Api &declared = script->Result().declared;
        if (const Analysis::Function *function = script->FindFunction(name);
            function && function->at.line > 0)
            return inScript(function->at);
        for (const Analysis::Variable &global : declared.globals) {
            if (global.name == name && global.at.line > 0)
                return inScript(global.at);
        }
        for (const Analysis::Type &type : declared.types) {
            if (type.name == name && type.at.line > 0)
                return inScript(type.at);
        }
    }
    for (const DeclarationCategory &category : catalogue.Categories) {
        const qsizetype i = category.Names.indexOf(name);
        if (i >= 0)
            return Declaration { false, -1, category.Lines[i], QString() };
    }
    return std::nullopt;
}

} // namespace WritingHelp
