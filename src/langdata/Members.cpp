#include "Members.h"

#include <QHash>
#include <QSet>

#include <algorithm>

namespace Members {

namespace {

using Analysis::Declaration;
using Kind = Analysis::Declaration::Kind;

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool IsSpace(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool IsObject(Kind kind)
{
    return kind == Kind::Struct || kind == Kind::Interface || kind == Kind::Module;
}

// Editor lines are 0-based, the analysis' 1-based; the script is source 0.
bool Encloses(const Declaration &d, int line)
{
    return d.source == 0 && d.firstLine <= line + 1 && line + 1 <= d.lastLine;
}

// The innermost struct, interface or module holding the line.
int EnclosingObject(const Context &context)
{
    const QList<Declaration> &outline = context.result.outline;
    int found = -1;
    // The outline is sorted by source, then by first line.
    for (int i = 0; i < outline.size() && outline[i].source == 0 && outline[i].firstLine <= context.line + 1;
         ++i) {
        if (IsObject(outline[i].kind) && Encloses(outline[i], context.line))
            found = i;
    }
    return found;
}

// How near a declaration is to the code: in the library or scope holding
// the line, in the script, in another file.
int Nearness(const Context &context, const Declaration &d)
{
    const QList<Declaration> &outline = context.result.outline;
    for (int p = d.parent; p >= 0 && p < outline.size(); p = outline[p].parent) {
        if (Encloses(outline[p], context.line))
            return 2;
    }
    return d.source == 0 ? 1 : 0;
}

// The nearest declaration named `name`, or named by what follows one of its
// "_", that `accept` takes; -1 when there is none. The first of the nearest
// wins.
template<typename Accept> int Nearest(const Context &context, const QString &name, Accept accept)
{
    const QList<Declaration> &outline = context.result.outline;
    QList<int> candidates = context.names.values(name);
    for (qsizetype i = name.indexOf(u'_'); i >= 0; i = name.indexOf(u'_', i + 1))
        candidates += context.names.values(name.mid(i + 1));
    std::sort(candidates.begin(), candidates.end());
    int best = -1;
    int bestNearness = -1;
    for (const int i : std::as_const(candidates)) {
        if (!accept(outline[i]))
            continue;
        const int nearness = Nearness(context, outline[i]);
        if (nearness > bestNearness) {
            best = i;
            bestNearness = nearness;
        }
    }
    return best;
}

// "Lib_Name" (public) or "Lib__Name" (private) names a declaration of library Lib from outside.
bool NamedFromOutside(const QList<Declaration> &outline, const Declaration &d, const QString &name)
{
    if (d.parent < 0 || name.size() <= d.name.size() + 1 || !name.endsWith(d.name)
        || name[name.size() - d.name.size() - 1] != u'_')
        return false;
    int top = d.parent;
    while (outline[top].parent >= 0)
        top = outline[top].parent;
    return name.startsWith(outline[top].name + u'_');
}

int FindObjectOf(const Context &context, const QString &type, bool module)
{
    const QList<Declaration> &outline = context.result.outline;
    return Nearest(context, type, [&](const Declaration &d) {
        return (module ? d.kind == Kind::Module : d.kind == Kind::Struct || d.kind == Kind::Interface)
            && (d.name == type || NamedFromOutside(outline, d, type));
    });
}

// One step of a chain: a name and the brackets after it, "(" or "[".
struct Step {
    QString name;
    QList<QChar> brackets;
};

// The "(" or "[" that the bracket at `close` closes, or -1.
int MatchingOpen(const QString &text, int close)
{
    int depth = 0;
    for (int i = close; i >= 0; --i) {
        const QChar c = text[i];
        if (c == u')' || c == u']') {
            ++depth;
        } else if (c == u'(' || c == u'[') {
            if (--depth == 0)
                return i;
        }
    }
    return -1;
}

// Words after which a "." has no value before it: ".x" is this.x.
bool IsKeyword(const QString &word)
{
    static const QSet<QString> kKeywords = { "call", "set", "return", "and", "or", "not", "if", "elseif",
        "then", "exitwhen", "debug", "else" };
    return kKeywords.contains(word);
}

// The steps of the chain before `dot`, and whether it starts at a bare ".".
bool ParseChain(const QString &text, int dot, QList<Step> &steps, bool &bareDot)
{
    int pos = dot - 1;
    for (;;) {
        while (pos >= 0 && IsSpace(text[pos]))
            --pos;
        Step step;
        while (pos >= 0 && (text[pos] == u')' || text[pos] == u']')) {
            const int open = MatchingOpen(text, pos);
            if (open < 0)
                return false;
            step.brackets.prepend(text[open]);
            pos = open - 1;
            while (pos >= 0 && IsSpace(text[pos]))
                --pos;
        }
        int start = pos + 1;
        while (start > 0 && IsWordChar(text[start - 1]))
            --start;
        const QString name = text.mid(start, pos + 1 - start);
        if (name.isEmpty() || IsKeyword(name)) {
            // "(a + b).x" has no name to go by.
            bareDot = step.brackets.isEmpty();
            return bareDot;
        }
        if (name[0].isDigit())
            return false;
        step.name = name;
        steps.prepend(step);
        pos = start - 1;
        while (pos >= 0 && IsSpace(text[pos]))
            --pos;
        if (pos < 0 || text[pos] != u'.')
            return true;
        --pos;
    }
}

// Each name once: a property's getter wins over its setter.
struct Collector {
    Collector(const Context &context, bool instance, int depth = 0)
        : context(context)
        , instance(instance)
        , depth(depth)
    {
    }

    const Context &context;
    bool instance;
    int depth = 0;
    bool both = false; // an array struct's name reaches its instance members too
    QList<Member> found;
    QHash<QString, qsizetype> names;
    QSet<qsizetype> setters;
    QSet<int> seen;

    void Add(const Member &m, bool setter)
    {
        const auto it = names.constFind(m.name);
        if (it == names.constEnd()) {
            names.insert(m.name, found.size());
            if (setter)
                setters.insert(found.size());
            found.append(m);
        } else if (setters.contains(*it) && !setter) {
            setters.remove(*it);
            found[*it] = m;
        }
    }

    void Builtins(int object)
    {
        const Declaration &o = context.result.outline[object];
        if ((o.kind == Kind::Struct && o.type == u"array") || o.kind == Kind::Module)
            return;
        const bool inside = Encloses(o, context.line);
        const auto method = [&](const char *name, bool isStatic, bool isPrivate, const QString &takes,
                                const QString &returns) {
            if (isStatic == instance || (isPrivate && !inside))
                return;
            Member m;
            m.name = QString::fromLatin1(name);
            m.method = true;
            m.type = returns;
            m.owner = object;
            m.declaration = QStringLiteral("%1method %2 takes %3 returns %4")
                                .arg(QLatin1String(isStatic ? "static " : ""), m.name, takes, returns);
            Add(m, false);
        };
        const QString nothing = QStringLiteral("nothing");
        if (o.kind == Kind::Interface) {
            method("create", true, false, QStringLiteral("integer typeid"), o.name);
        } else {
            // create takes what the parent struct's takes.
            QString takes = nothing;
            const int parent = o.type.isEmpty() ? -1 : FindObjectOf(context, o.type, false);
            if (parent >= 0 && parent != object && context.result.outline[parent].kind == Kind::Struct
                && depth < 16) {
                Collector up(context, false, depth + 1);
                up.Collect(parent, parent);
                const auto create = up.names.constFind(QStringLiteral("create"));
                if (create != up.names.constEnd()) {
                    const QString &d = up.found[*create].declaration;
                    const qsizetype at = d.indexOf(QLatin1String(" takes "));
                    const qsizetype end = d.lastIndexOf(QLatin1String(" returns "));
                    if (at >= 0 && end > at)
                        takes = d.mid(at + 7, end - at - 7);
                }
            }
            method("create", true, false, takes, o.name);
            method("allocate", true, true, takes, o.name);
            method("deallocate", false, true, nothing, nothing);
        }
        method("destroy", false, false, nothing, nothing);
        method("getType", false, false, nothing, QStringLiteral("integer"));
        if (!instance) {
            Member m;
            m.name = QStringLiteral("typeid");
            m.declaration = QStringLiteral("static constant integer typeid");
            m.type = QStringLiteral("integer");
            m.owner = object;
            Add(m, false);
        }
    }

    // `self` is what thistype stands for in the members found.
    void Collect(int object, int self)
    {
        const QList<Declaration> &outline = context.result.outline;
        if (object < 0 || seen.contains(object) || seen.size() > 64)
            return;
        seen.insert(object);
        const Declaration &o = outline[object];
        const bool inside = Encloses(o, context.line);
        QList<int> modules;
        QList<int> delegates;
        for (int i = object + 1; i < outline.size(); ++i) {
            const Declaration &d = outline[i];
            if (d.source != o.source || d.firstLine > o.lastLine)
                break;
            if (d.parent != object)
                continue;
            if (d.kind == Kind::Implement) {
                modules.append(FindObjectOf(context, d.name, true));
                continue;
            }
            if (d.kind != Kind::Member && d.kind != Kind::Method)
                continue;
            if (d.kind == Kind::Member && instance && d.modifiers.contains(u"delegate"))
                delegates.append(FindObjectOf(context, d.type, false));
            if ((!both && d.modifiers.contains(u"static") == instance)
                || (d.modifiers.contains(u"private") && !inside))
                continue;
            Member m;
            m.name = d.name;
            m.method = d.kind == Kind::Method;
            m.declaration = DeclarationText(d);
            m.declarationIndex = i;
            m.type = d.type;
            m.owner = o.kind == Kind::Module ? self : object;
            m.isArray = d.modifiers.contains(u"array");
            bool setter = false;
            if (m.method && m.name.startsWith(QLatin1String("operator "))) {
                m.name = m.name.mid(9);
                setter = m.name.endsWith(u'=');
                if (setter)
                    m.name.chop(1);
                // "[]", "<" are no names.
                if (m.name.isEmpty() || !IsWordChar(m.name[0]))
                    m.name = d.name;
                m.method = false;
            }
            Add(m, setter);
        }
        for (int module : std::as_const(modules))
            Collect(module, self);
        if (o.kind != Kind::Module)
            Builtins(object);
        if (o.kind == Kind::Struct && !o.type.isEmpty() && o.type != u"array") {
            const int parent = FindObjectOf(context, o.type, false);
            Collect(parent, parent);
        }
        for (int delegate : std::as_const(delegates))
            Collect(delegate, delegate);
    }
};

} // namespace

QString DeclarationText(const Declaration &d)
{
    QStringList words;
    for (const QString &modifier : d.modifiers) {
        if (modifier != u"array")
            words << modifier;
    }
    switch (d.kind) {
    case Kind::Member:
    case Kind::Global:
        words << d.type;
        if (d.modifiers.contains(u"array"))
            words << QStringLiteral("array");
        words << d.name;
        return words.join(u' ');
    case Kind::Method:
    case Kind::Function:
    case Kind::Native:
    case Kind::FunctionInterface: {
        QStringList parameters;
        for (const Analysis::Variable &p : d.parameters)
            parameters << p.type + u' ' + p.name;
        words << (d.kind == Kind::Method   ? QStringLiteral("method")
                : d.kind == Kind::Function ? QStringLiteral("function")
                : d.kind == Kind::Native   ? QStringLiteral("native")
                                           : QStringLiteral("function interface"))
              << d.name << QStringLiteral("takes")
              << (parameters.isEmpty() ? QStringLiteral("nothing") : parameters.join(QStringLiteral(", ")))
              << QStringLiteral("returns") << (d.type.isEmpty() ? QStringLiteral("nothing") : d.type);
        return words.join(u' ');
    }
    case Kind::TextMacro: {
        QStringList parameters;
        for (const Analysis::Variable &p : d.parameters)
            parameters << p.name;
        words << QStringLiteral("textmacro") << d.name;
        if (!parameters.isEmpty())
            words << QStringLiteral("takes") << parameters.join(QStringLiteral(", "));
        return words.join(u' ');
    }
    default:
        break;
    }
    static const QHash<Kind, QString> kWords = { { Kind::Library, "library" }, { Kind::Scope, "scope" },
        { Kind::Struct, "struct" }, { Kind::Interface, "interface" }, { Kind::Module, "module" },
        { Kind::Type, "type" }, { Kind::Keyword, "keyword" }, { Kind::Implement, "implement" } };
    words << kWords.value(d.kind) << d.name;
    if (!d.type.isEmpty() && d.kind != Kind::Keyword)
        words << QStringLiteral("extends") << d.type;
    if (d.kind == Kind::Library && !d.uses.isEmpty())
        words << QStringLiteral("requires") << d.uses.join(QStringLiteral(", "));
    return words.join(u' ');
}

int FindObject(const Context &context, const QString &type, int self)
{
    if (type == u"thistype")
        return self >= 0 ? self : EnclosingObject(context);
    return type.isEmpty() ? -1 : FindObjectOf(context, type, false);
}

int FindNamed(const Context &context, const QString &name, bool member)
{
    const QList<Declaration> &outline = context.result.outline;
    if (name.isEmpty())
        return -1;
    const auto accept = [&](const Declaration &d) {
        const bool isMember = d.kind == Kind::Member || d.kind == Kind::Method;
        if (member)
            return isMember;
        return !isMember && d.kind != Kind::Implement && d.kind != Kind::Globals
            && (d.name == name || NamedFromOutside(outline, d, name));
    };
    const int found = Nearest(
        context, name, [&](const Declaration &d) { return accept(d) && (!member || d.name == name); });
    // A property by its name: its "method operator".
    return found >= 0 || !member ? found : Nearest(context, QLatin1String("operator ") + name, accept);
}

QMultiHash<QString, int> NameIndex(const QList<Declaration> &outline)
{
    QMultiHash<QString, int> names;
    names.reserve(outline.size());
    for (int i = 0; i < outline.size(); ++i)
        names.insert(outline[i].name, i);
    return names;
}

QList<Member> MembersOf(const Context &context, const Target &target)
{
    if (target.declaration < 0 || target.declaration >= context.result.outline.size())
        return {};
    Collector collector(context, target.instance);
    const Declaration &d = context.result.outline[target.declaration];
    collector.both = !target.instance && d.kind == Kind::Struct && d.type == u"array";
    collector.Collect(target.declaration, target.declaration);
    return collector.found;
}

std::optional<Member> FindMember(const Context &context, const Target &target, const QString &name)
{
    for (const Member &m : MembersOf(context, target)) {
        if (m.name == name)
            return m;
    }
    return std::nullopt;
}

namespace {

// What "[...]" after a value of `target` gives: what its operator [] returns.
std::optional<Target> Indexed(const Context &context, const Target &target)
{
    const std::optional<Member> index = FindMember(context, target, QStringLiteral("operator []"));
    const Declaration &d = context.result.outline[target.declaration];
    // "T[i]" of an array struct is its instance i.
    if (!index && !target.instance && d.kind == Kind::Struct && d.type == u"array")
        return Target { target.declaration, true };
    if (!index)
        return std::nullopt;
    const int object = FindObject(context, index->type, index->owner);
    if (object < 0)
        return std::nullopt;
    return Target { object, true };
}

// The brackets from `from` on, after a value of `target`.
std::optional<Target> AfterBrackets(
    const Context &context, std::optional<Target> target, const QList<QChar> &brackets, qsizetype from)
{
    for (qsizetype i = from; i < brackets.size() && target; ++i)
        target = brackets[i] == u'[' ? Indexed(context, *target) : std::nullopt;
    return target;
}

std::optional<Target> OfType(const Context &context, const QString &type, int self)
{
    const int object = FindObject(context, type, self);
    return object >= 0 ? std::optional<Target>(Target { object, true }) : std::nullopt;
}

std::optional<Target> FirstStep(const Context &context, const Step &step)
{
    const QString &name = step.name;
    const bool called = !step.brackets.isEmpty() && step.brackets[0] == u'(';
    const int self = EnclosingObject(context);
    if (name == u"this" || name == u"thistype") {
        if (self < 0)
            return std::nullopt;
        // thistype(i) is a value.
        const bool instance = name == u"this" || called;
        return AfterBrackets(context, Target { self, instance }, step.brackets, called ? 1 : 0);
    }
    if (name == u"super") {
        if (self < 0)
            return std::nullopt;
        return AfterBrackets(
            context, OfType(context, context.result.outline[self].type, -1), step.brackets, 0);
    }
    // A local or parameter, then a global.
    std::optional<Analysis::Variable> variable;
    if (context.scope) {
        for (const QList<Analysis::Variable> *list : { &context.scope->locals, &context.scope->parameters }) {
            for (const Analysis::Variable &v : *list) {
                if (v.name == name && !variable)
                    variable = v;
            }
        }
    }
    const QList<Declaration> &outline = context.result.outline;
    if (!variable) {
        const int global = Nearest(context, name, [&](const Declaration &d) {
            return d.kind == Kind::Global && (d.name == name || NamedFromOutside(outline, d, name));
        });
        if (global >= 0)
            variable = Analysis::Variable { outline[global].type, name,
                outline[global].modifiers.contains(u"array"), false, {} };
    }
    if (variable) {
        const qsizetype skip
            = variable->isArray && !step.brackets.isEmpty() && step.brackets[0] == u'[' ? 1 : 0;
        return AfterBrackets(context, OfType(context, variable->type, self), step.brackets, skip);
    }
    if (const int object = FindObject(context, name, self); object >= 0)
        return AfterBrackets(context, Target { object, called }, step.brackets, called ? 1 : 0);
    if (!called)
        return std::nullopt;
    const int function = Nearest(context, name, [&](const Declaration &d) {
        return (d.kind == Kind::Function || d.kind == Kind::Native)
            && (d.name == name || NamedFromOutside(outline, d, name));
    });
    if (function >= 0)
        return AfterBrackets(context, OfType(context, outline[function].type, self), step.brackets, 1);
    for (const Analysis::Function &f : context.result.declared.functions) {
        if (f.name == name)
            return AfterBrackets(context, OfType(context, f.returns, self), step.brackets, 1);
    }
    return std::nullopt;
}

std::optional<Target> NextStep(const Context &context, const Target &target, const Step &step)
{
    const std::optional<Member> member = FindMember(context, target, step.name);
    if (!member)
        return std::nullopt;
    const bool called = !step.brackets.isEmpty() && step.brackets[0] == u'(';
    // A method names a value only when called.
    if (member->method != called)
        return std::nullopt;
    const qsizetype skip
        = called || (member->isArray && !step.brackets.isEmpty() && step.brackets[0] == u'[') ? 1 : 0;
    return AfterBrackets(context, OfType(context, member->type, member->owner), step.brackets, skip);
}

} // namespace

std::optional<Target> TargetBefore(const Context &context, const QString &text, int dot)
{
    if (dot < 0 || dot >= text.size() || text[dot] != u'.' || context.result.outline.isEmpty())
        return std::nullopt;
    QList<Step> steps;
    bool bareDot = false;
    if (!ParseChain(text, dot, steps, bareDot))
        return std::nullopt;
    std::optional<Target> target;
    qsizetype next = 0;
    if (bareDot) {
        const int self = EnclosingObject(context);
        if (self >= 0)
            target = Target { self, true };
    } else {
        target = FirstStep(context, steps[0]);
        next = 1;
    }
    for (; next < steps.size() && target; ++next)
        target = NextStep(context, *target, steps[next]);
    return target;
}

} // namespace Members
