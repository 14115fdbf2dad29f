#include "Checker.h"

#include "Messages.h"

#include <algorithm>
#include <set>
#include <tuple>

// The vJASS program: the tree of every source is walked three times in the
// order the compiler writes the program (libraries first, by their
// requirements). The first walk declares the types (structs, interfaces,
// modules...), the second their members, the globals and the natives, the
// third declares each function where it stands and checks every body. A
// private or public name is bound to its scope and holds only while the walk
// is inside it.
namespace Analysis {

namespace M = Messages;

namespace {

// Deeper chains of "extends" are surely a loop.
constexpr int MaxParents = 64;

} // namespace

// Program

void Checker::RunVjass(const QList<Source> &sources, const FileReader &read, int prelude)
{
    vjass_ = true;
    prelude_ = prelude;
    sources_ = &sources;
    words_ = std::make_unique<VjassWords>(symbols_);
    qsizetype bytes = 0;
    for (const Source &source : sources)
        bytes += source.text.size();
    pre_ = Preprocess(sources, read);
    // Textmacros make the texts larger, and vJASS names more of their words.
    qsizetype written = 0;
    for (const PreprocessedSource &p : pre_.sources)
        written += p.text.size();
    symbols_.Reserve(size_t(qMax(bytes, written) / 128));
    const int firstDiagnostic = int(result_.diagnostics.size());
    ParsePreprocessed();
    const size_t n = tree_.nodes.size();
    nodeScope_.assign(n, -1);
    nodeObject_.assign(n, -1);
    nodeFunction_.assign(n, -1);
    staticIf_.assign(n, -1);
    skip_.assign(n, 0);
    incomplete_.assign(n, 0);
    // The passed-over Zinc: its libraries count, its public names are known but not checked.
    for (const QByteArray &name : pre_.zincLibraries)
        libraries_.emplace(InternText(name), -1);
    for (const QByteArray &name : pre_.zincNames)
        symbols_[InternText(name)].placeholder = 1;
    OrderLibraries();
    DeclareBuiltins();
    PrescanConstants();
    Walk(Pass::Types);
    Walk(Pass::Members);
    FinishObjects();
    Walk(Pass::Bodies);
    FinishVjass(firstDiagnostic);
}

void Checker::ParsePreprocessed()
{
    Parser parser(
        symbols_, *words_, tree_,
        [this](int source, const Token &at, const QString &message) {
            result_.diagnostics.append(
                Diagnostic { Severity::Error, source, at.line, at.column, qMax(1, at.length), message });
        },
        [this](int line, int column, int length, int kind, int value) {
            LexProblem(line, column, length, kind, value);
        });
    for (int i = 0; i < int(sources_->size()); ++i) {
        source_ = i;
        text_ = &pre_.sources[size_t(i)].text;
        parser.Parse(i, *text_);
    }
}

int Checker::OriginalLine(int source, int line) const
{
    if (source < 0 || size_t(source) >= pre_.sources.size())
        return line;
    const std::vector<LineOrigin> &lines = pre_.sources[size_t(source)].lines;
    if (lines.empty() || line < 1)
        return line;
    return lines[size_t(qMin<qsizetype>(line, qsizetype(lines.size())) - 1)].line;
}

Position Checker::At(const Token &t) const
{
    return Position { source_, OriginalLine(source_, t.line) };
}

int Checker::InternText(const QByteArray &text)
{
    return InternOwned(QString::fromUtf8(text));
}

QString Checker::ObjectName(int object) const
{
    return Name(objects_[size_t(object)].symbol);
}

// Libraries go first, after the sources loaded before the program: those
// that require none, then those that require only those, and so on; each
// level in the order of the names. The rest follows in source order.
void Checker::OrderLibraries()
{
    std::vector<int> libraries;
    for (int root : tree_.roots) {
        const Node &n = tree_.nodes[size_t(root)];
        if (n.kind != NodeKind::Library || n.name.kind != Tok::Name || n.source < prelude_)
            continue;
        const auto found = libraries_.find(n.name.symbol);
        if (found != libraries_.end() && found->second < 0) {
            // A Zinc library of that name: the one written here is checked.
            found->second = root;
            libraries.push_back(root);
            continue;
        }
        if (found != libraries_.end()) {
            // library_once: the same library again is left out.
            skip_[size_t(root)] = 1;
            if (!(n.flags & Once)) {
                const Node &first = tree_.nodes[size_t(found->second)];
                source_ = n.source;
                text_ = &pre_.sources[size_t(n.source)].text;
                const Position at { first.source, OriginalLine(first.source, first.name.line) };
                ReportAt(n.name, M::Redeclared(Name(n.name.symbol), Where(at)));
            }
            continue;
        }
        libraries_.emplace(n.name.symbol, root);
        libraries.push_back(root);
    }
    // The level of a library: one more than the highest of those it requires.
    std::unordered_map<int, int> level; // -1 while being computed
    const auto levelOf = [&](auto &&self, int library) -> int {
        const auto known = level.find(library);
        if (known != level.end())
            return qMax(0, known->second);
        level[library] = -1;
        const Node &n = tree_.nodes[size_t(library)];
        int result = 0;
        for (const Requirement &r : n.requirements) {
            const auto found = libraries_.find(r.name.symbol);
            source_ = n.source;
            text_ = &pre_.sources[size_t(n.source)].text;
            if (found == libraries_.end()) {
                result_.missingLibraries.append(Name(r.name.symbol));
                if (!r.optional) {
                    ReportAt(r.name, M::MissingLibrary(Name(n.name.symbol), Name(r.name.symbol)));
                    incomplete_[size_t(library)] = 1;
                }
                continue;
            }
            if (found->second < 0)
                continue; // a Zinc library
            const auto state = level.find(found->second);
            if (state != level.end() && state->second < 0) {
                ReportAt(r.name, M::LibraryCycle(Name(n.name.symbol), Name(r.name.symbol)));
                continue;
            }
            result = qMax(result, self(self, found->second) + 1);
            incomplete_[size_t(library)] |= incomplete_[size_t(found->second)];
        }
        level[library] = result;
        return result;
    };
    for (int library : libraries)
        levelOf(levelOf, library);
    std::stable_sort(libraries.begin(), libraries.end(), [&](int a, int b) {
        const int la = level[a], lb = level[b];
        if (la != lb)
            return la < lb;
        return symbols_[tree_.nodes[size_t(a)].name.symbol].name
            < symbols_[tree_.nodes[size_t(b)].name.symbol].name;
    });
    result_.missingLibraries.removeDuplicates();
    for (int root : tree_.roots) {
        if (tree_.nodes[size_t(root)].source < prelude_)
            order_.push_back(root);
    }
    order_.insert(order_.end(), libraries.begin(), libraries.end());
    for (int root : tree_.roots) {
        const Node &n = tree_.nodes[size_t(root)];
        if (n.source >= prelude_ && n.kind != NodeKind::Library)
            order_.push_back(root);
    }
}

// What vJASS declares for every program: the key type and its constants.
void Checker::DeclareBuiltins()
{
    ObjectInfo key;
    key.kind = ObjectKind::Key;
    key.symbol = words_->key;
    objects_.push_back(key);
    keyType_ = int(types_.size());
    types_.push_back(TypeInfo { words_->key, -1, Position(), int(objects_.size()) - 1 });
    objects_.back().type = keyType_;
    symbols_[words_->key].type = keyType_;
    const auto constant = [this](const QString &name, int type) {
        const int s = InternOwned(name);
        if (symbols_[s].global >= 0)
            return;
        symbols_[s].global = int(globals_.size());
        globals_.push_back(GlobalInfo { s, type, false, true, true, Position() });
    };
    constant(QStringLiteral("DEBUG_MODE"), Boolean);
    constant(QStringLiteral("SCOPE_PREFIX"), String);
    constant(QStringLiteral("SCOPE_PRIVATE"), String);
    for (const auto &[symbol, node] : libraries_)
        constant(QStringLiteral("LIBRARY_") + Name(symbol), Boolean);
}

// The constant booleans a 'static if' may read, by a look at their values.
void Checker::PrescanConstants()
{
    const int boolean = symbols_.Find("boolean");
    for (const Node &n : tree_.nodes) {
        if (n.kind != NodeKind::Variable || !(n.flags & Constant) || n.type.symbol != boolean
            || n.value.empty() || n.parent < 0 || tree_.nodes[size_t(n.parent)].kind != NodeKind::Globals)
            continue;
        const QByteArray &text = pre_.sources[size_t(n.source)].text;
        const std::string_view value
            = std::string_view(text.constData() + n.value.begin, size_t(n.value.end - n.value.begin));
        const size_t end = value.find_last_not_of(" \t");
        const std::string_view trimmed = value.substr(0, end == std::string_view::npos ? 0 : end + 1);
        if (trimmed == "true" || trimmed == "false")
            constants_[n.name.symbol] = trimmed == "true" ? 1 : 0;
    }
}

// Walks

void Checker::Walk(Pass pass)
{
    for (int root : order_)
        WalkNode(root, pass);
}

void Checker::WalkChildren(int node, Pass pass)
{
    const std::vector<int> &children = tree_.nodes[size_t(node)].children;
    for (size_t i = 0; i < children.size(); ++i)
        WalkNode(children[i], pass);
}

void Checker::WalkNode(int node, Pass pass)
{
    if (skip_[size_t(node)])
        return;
    const Node &n = tree_.nodes[size_t(node)];
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    switch (n.kind) {
    case NodeKind::Library:
    case NodeKind::Scope:
        EnterScope(node);
        WalkChildren(node, pass);
        if (pass == Pass::Bodies)
            CheckScopeEnd(node);
        LeaveScope();
        break;
    case NodeKind::Struct:
    case NodeKind::Interface:
        if (pass == Pass::Types)
            DeclareObject(node);
        else if (pass == Pass::Members)
            DeclareMembers(node);
        else
            CheckObjectBodies(node);
        break;
    case NodeKind::Module:
    case NodeKind::FunctionInterface:
        if (pass == Pass::Types)
            DeclareObject(node);
        else if (pass == Pass::Members && n.kind == NodeKind::FunctionInterface
            && nodeObject_[size_t(node)] >= 0)
            objects_[size_t(nodeObject_[size_t(node)])].function = SignatureOf(n, n.name.symbol);
        break;
    case NodeKind::Globals:
        for (int child : n.children) {
            source_ = n.source;
            if (pass == Pass::Members)
                DeclareGlobal(child);
            else if (pass == Pass::Bodies && nodeFunction_[size_t(child)] >= 0) {
                const GlobalInfo &g = globals_[size_t(nodeFunction_[size_t(child)])];
                inGlobals_ = true;
                CheckValue(child, g.type, g.object);
                inGlobals_ = false;
            }
        }
        break;
    case NodeKind::Function:
        if (pass == Pass::Bodies)
            CheckFunctionNode(node);
        else if (pass == Pass::Members && n.name.kind == Tok::Name && !(n.flags & (Private | Public)))
            functionNodes_.emplace(n.name.symbol, node);
        break;
    case NodeKind::Native:
        if (pass == Pass::Members)
            DeclareNative(node);
        break;
    case NodeKind::Type:
        if (pass == Pass::Types)
            DeclareTypeNode(node);
        else if (pass == Pass::Members && nodeObject_[size_t(node)] >= 0) {
            ObjectInfo &o = objects_[size_t(nodeObject_[size_t(node)])];
            ResolveType(n.type, o.element, o.elementObject);
        }
        break;
    case NodeKind::Keyword:
        if (pass == Pass::Types && n.name.kind == Tok::Name)
            DeclareName(n, PlaceholderField, 1);
        break;
    case NodeKind::Hook:
        if (pass == Pass::Bodies)
            CheckHook(node);
        break;
    case NodeKind::StaticIf: {
        const auto [from, to] = StaticIfBranch(node);
        for (size_t i = from; i < to; ++i)
            WalkNode(tree_.nodes[size_t(node)].children[i], pass);
        break;
    }
    default:
        break;
    }
}

// The children of a 'static if' that are kept: those before its 'else', or
// those after it.
std::pair<size_t, size_t> Checker::StaticIfBranch(int node)
{
    const bool taken = StaticIfTaken(node);
    const Node &n = tree_.nodes[size_t(node)];
    return taken ? std::pair { size_t(0), size_t(n.elseChild) }
                 : std::pair { size_t(n.elseChild), n.children.size() };
}

// Whether the code of a 'static if' is in. One inside a module depends on the
// struct that implements it, so it is not kept.
bool Checker::StaticIfTaken(int node)
{
    signed char &known = staticIf_[size_t(node)];
    if (known >= 0)
        return known == 1;
    const Node &n = tree_.nodes[size_t(node)];
    bool inModule = false;
    for (int p = n.parent; p >= 0 && !inModule; p = tree_.nodes[size_t(p)].parent)
        inModule = tree_.nodes[size_t(p)].kind == NodeKind::Module;
    const int previous = source_;
    const QByteArray *previousText = text_;
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    const bool taken = StaticValue(n.value) == 1;
    source_ = previous;
    text_ = previousText;
    if (!inModule)
        known = taken ? 1 : 0;
    return taken;
}

// The value of a 'static if' condition: constant booleans, LIBRARY_x,
// "thistype.X" and "S.X" of static constant members, 'not', 'and', 'or' and
// parentheses. What it cannot know is false, as the compiler takes it; the
// program is checked as built for release, so DEBUG_MODE is false.
int Checker::StaticValue(const TokenRange &range)
{
    if (range.empty())
        return 0;
    Lexer lexer(text_->constData(), range.end, symbols_, [](int, int, int, int, int) {});
    lexer.SetVjass(true);
    lexer.Seek(range.begin, range.line, range.lineStart);
    Token t = lexer.Next();
    int depth = 0;
    const auto next = [&] { t = lexer.Next(); };
    const auto primary = [&](auto &&expression) -> int {
        if (++depth > 64)
            return 0;
        int value = 0;
        if (t.kind == Tok::Not) {
            next();
            value = 1 - expression(expression, true);
        } else if (t.kind == Tok::LParen) {
            next();
            value = expression(expression, false);
            if (t.kind == Tok::RParen)
                next();
        } else if (t.kind == Tok::True || t.kind == Tok::False) {
            value = t.kind == Tok::True ? 1 : 0;
            next();
        } else if (t.kind == Tok::Name) {
            const Token name = t;
            next();
            if (t.kind == Tok::Dot) {
                next();
                const Token member = t;
                next();
                int object = -1;
                if (name.symbol == words_->thistype)
                    object = ctx_.object;
                else if (symbols_[name.symbol].type >= 0)
                    object = types_[size_t(symbols_[name.symbol].type)].object;
                if (object >= 0 && member.kind == Tok::Name) {
                    const int m = FindMember(object, member.symbol);
                    value = m >= 0 && members_[size_t(m)].literal == 1 ? 1 : 0;
                }
            } else {
                const std::string_view text = symbols_[name.symbol].name;
                if (text == "DEBUG_MODE") {
                    value = 0;
                } else if (text.substr(0, 8) == "LIBRARY_") {
                    const int library = symbols_.Find(text.substr(8));
                    value = library >= 0 && libraries_.count(library) ? 1 : 0;
                } else {
                    const auto found = constants_.find(name.symbol);
                    value = found != constants_.end() ? found->second : 0;
                }
            }
        } else {
            next();
        }
        --depth;
        return value;
    };
    // `single`: one operand only, for 'not'.
    const auto expression = [&](auto &&self, bool single) -> int {
        int value = primary(self);
        if (single)
            return value;
        while (t.kind == Tok::And || t.kind == Tok::Or) {
            const bool isAnd = t.kind == Tok::And;
            next();
            const int right = primary(self);
            value = isAnd ? (value & right) : (value | right);
        }
        return value;
    };
    return expression(expression, false);
}

// Scopes and names

// Inside a library that lacks a library it requires, names it cannot find are
// not reported: the missing library was, once.
bool Checker::Incomplete() const
{
    return !activeScopes_.empty() && incomplete_[size_t(scopes_[size_t(activeScopes_.front())].node)];
}

int &Checker::FieldOf(Symbol &s, int field)
{
    switch (field) {
    case TypeField:
        return s.type;
    case FunctionField:
        return s.function;
    case GlobalField:
        return s.global;
    case ModuleField:
        return s.module;
    default:
        return s.placeholder;
    }
}

void Checker::Install(int symbol, int field, int value)
{
    int &slot = FieldOf(symbols_[symbol], field);
    saved_.push_back(Saved { symbol, field, slot, value });
    slot = value;
}

// Undoes the bindings made since `mark`; a name declared since keeps its value.
void Checker::RestoreTo(size_t mark)
{
    while (saved_.size() > mark) {
        const Saved s = saved_.back();
        saved_.pop_back();
        int &slot = FieldOf(symbols_[s.symbol], s.field);
        if (slot == s.installed)
            slot = s.old;
    }
}

void Checker::EnterScope(int node)
{
    int &index = nodeScope_[size_t(node)];
    if (index < 0) {
        const Node &n = tree_.nodes[size_t(node)];
        ScopeInfo info;
        info.node = node;
        info.parent = CurrentScope();
        if (info.parent >= 0)
            info.prefix = scopes_[size_t(info.parent)].prefix;
        info.name = n.name.kind == Tok::Name ? n.name.symbol : words_->scope;
        const std::string_view name = symbols_[info.name].name;
        info.prefix += QByteArray(name.data(), qsizetype(name.size())) + '_';
        index = int(scopes_.size());
        scopes_.push_back(std::move(info));
    }
    scopeMarks_.push_back(saved_.size());
    activeScopes_.push_back(index);
    for (const Binding &b : scopes_[size_t(index)].bindings)
        Install(b.symbol, b.field, b.value);
}

void Checker::LeaveScope()
{
    RestoreTo(scopeMarks_.back());
    scopeMarks_.pop_back();
    activeScopes_.pop_back();
}

// Makes the scopes of `scope` (and its outer ones) the active ones, as for
// the code of a module declared there; -1 for none.
void Checker::SwitchScopes(int scope)
{
    std::vector<int> chain;
    for (int s = scope; s >= 0; s = scopes_[size_t(s)].parent)
        chain.insert(chain.begin(), s);
    SetChain(chain);
}

// Leaves every active scope and enters those of `chain`, outermost first;
// nothing to do when they are the active ones already.
void Checker::SetChain(const std::vector<int> &chain)
{
    if (chain == activeScopes_)
        return;
    while (!activeScopes_.empty())
        LeaveScope();
    for (int s : chain) {
        scopeMarks_.push_back(saved_.size());
        activeScopes_.push_back(s);
        for (const Binding &b : scopes_[size_t(s)].bindings)
            Install(b.symbol, b.field, b.value);
    }
}

void Checker::Bind(int scope, int symbol, int field, int value)
{
    scopes_[size_t(scope)].bindings.push_back(Binding { symbol, field, value });
    const auto active = std::find(activeScopes_.begin(), activeScopes_.end(), scope);
    if (active == activeScopes_.end())
        return;
    const size_t k = size_t(active - activeScopes_.begin());
    if (k + 1 == activeScopes_.size()) {
        Install(symbol, field, value);
        return;
    }
    // An outer scope's binding outlives the inner scopes: it goes with the
    // outer scope's, before the marks of the inner ones.
    int &slot = FieldOf(symbols_[symbol], field);
    const size_t at = scopeMarks_[k + 1];
    saved_.insert(saved_.begin() + qsizetype(at), Saved { symbol, field, slot, value });
    for (size_t j = k + 1; j < scopeMarks_.size(); ++j)
        ++scopeMarks_[j];
    slot = value;
}

// Declares what `n` names in the scope the walk is in: a plain name for the
// whole program; a public one as SCOPE_name, and by its own name inside; a
// private one only inside. Returns false when the name was taken.
bool Checker::DeclareName(const Node &n, int field, int value)
{
    const int scope = CurrentScope();
    const int name = n.name.symbol;
    const auto where = [&](int existing) -> Position {
        switch (field) {
        case TypeField:
            return types_[size_t(existing)].at;
        case FunctionField:
            return functions_[size_t(existing)].at;
        case GlobalField:
            return globals_[size_t(existing)].at;
        default:
            return Position();
        }
    };
    // The value the name has for the whole program, even while a private
    // binding of the same name hides it.
    const auto declareGlobally = [&](int symbol) {
        int *slot = &FieldOf(symbols_[symbol], field);
        for (auto it = saved_.rbegin(); *slot >= 0 && it != saved_.rend(); ++it) {
            if (it->symbol == symbol && it->field == field && *slot == it->installed) {
                slot = &it->old;
                break;
            }
        }
        if (*slot >= 0 && field != PlaceholderField) {
            if (field == FunctionField && functions_[size_t(*slot)].isNative
                && functions_[size_t(value)].isNative)
                return false; // a native declared again is left out
            ReportAt(n.name, M::Redeclared(Name(name), Where(where(*slot))));
            return false;
        }
        *slot = value;
        return true;
    };
    if (scope < 0 || !(n.flags & (Private | Public)))
        return declareGlobally(name);
    const QByteArray prefix = scopes_[size_t(scope)].prefix;
    const std::string_view text = symbols_[name].name;
    const QByteArray written(text.data(), qsizetype(text.size()));
    // The name the compiler gives it, which no other declaration may take.
    const int real = InternText(prefix + ((n.flags & Private) ? QByteArray("_") : QByteArray()) + written);
    if (n.flags & Public) {
        if (!declareGlobally(real))
            return false;
    } else {
        int &slot = FieldOf(symbols_[real], field);
        if (slot >= 0 && field != PlaceholderField) {
            ReportAt(n.name, M::Redeclared(Name(name), Where(where(slot))));
            return false;
        }
        slot = value;
    }
    Bind(scope, name, field, value);
    if (n.flags & Public) {
        // Outer scopes see it with the prefixes of the scopes between.
        QByteArray relative = written;
        for (int s = scope; scopes_[size_t(s)].parent >= 0; s = scopes_[size_t(s)].parent) {
            const std::string_view innerName = symbols_[scopes_[size_t(s)].name].name;
            relative = QByteArray(innerName.data(), qsizetype(innerName.size())) + '_' + relative;
            Bind(scopes_[size_t(s)].parent, InternText(relative), field, value);
        }
    }
    return true;
}

bool Checker::ResolveType(const Token &t, int &type, int &object, bool report)
{
    object = -1;
    const int found = t.kind == Tok::Name ? symbols_[t.symbol].type : -1;
    if (found < 0) {
        if (report && t.kind == Tok::Name && symbols_[t.symbol].placeholder < 0 && !Incomplete())
            ReportAt(t, M::NotAType(Name(t.symbol)));
        type = ErrorType;
        return false;
    }
    const int o = types_[size_t(found)].object;
    if (o < 0) {
        type = found;
        return true;
    }
    type = Integer;
    object = objects_[size_t(o)].kind == ObjectKind::Key ? -1 : o;
    return true;
}

// Declarations

void Checker::DeclareObject(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    ObjectInfo o;
    o.kind = n.kind == NodeKind::Struct ? ObjectKind::Struct
        : n.kind == NodeKind::Interface ? ObjectKind::Interface
        : n.kind == NodeKind::Module    ? ObjectKind::Module
        : n.kind == NodeKind::Type      ? ObjectKind::DynamicArray
                                        : ObjectKind::FunctionInterface;
    o.node = node;
    o.symbol = n.name.kind == Tok::Name ? n.name.symbol : -1;
    o.scope = CurrentScope();
    o.arrayStruct = n.kind == NodeKind::Struct && (n.flags & IsArray);
    const int index = int(objects_.size());
    objects_.push_back(std::move(o));
    nodeObject_[size_t(node)] = index;
    if (n.name.kind != Tok::Name)
        return;
    CheckDeclaredName(n.name);
    if (n.kind == NodeKind::Module) {
        DeclareName(n, ModuleField, index);
        return;
    }
    const int type = int(types_.size());
    types_.push_back(TypeInfo { n.name.symbol, -1, At(n.name), index });
    objects_[size_t(index)].type = type;
    DeclareName(n, TypeField, type);
}

// "type X extends Y": a handle type as in JASS, or a dynamic array.
void Checker::DeclareTypeNode(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.flags & IsArray) {
        DeclareObject(node);
        return;
    }
    if (n.flags & Broken)
        return;
    int parent = symbols_[n.type.symbol].type;
    if (parent < 0) {
        ReportAt(n.type, M::NotAType(Name(n.type.symbol)));
        parent = Handle;
    } else if (!IsHandle(parent)) {
        ReportAt(n.type, M::TypeExtendsPrimitive(Name(n.name.symbol), Name(n.type.symbol)));
        parent = Handle;
    }
    CheckDeclaredName(n.name);
    const int type = int(types_.size());
    types_.push_back(TypeInfo { n.name.symbol, parent, At(n.name) });
    if (DeclareName(n, TypeField, type) && keep_)
        result_.declared.types.append(Type { Name(n.name.symbol), Name(n.type.symbol), At(n.name) });
}

// A function's, method's or native's signature as a function entry.
int Checker::SignatureOf(const Node &n, int symbol)
{
    FunctionInfo f;
    f.symbol = symbol;
    f.isConstant = n.flags & Constant;
    f.isNative = n.kind == NodeKind::Native;
    f.broken = n.flags & Broken;
    f.at = At(n.name.kind == Tok::Name ? n.name : n.keyword);
    for (const Parameter &p : n.parameters) {
        int type = ErrorType, object = -1;
        ResolveType(p.type, type, object);
        CheckDeclaredName(p.name);
        if (IsPrimitiveName(p.name.symbol))
            ReportAt(p.name, M::PrimitiveName(Name(p.name.symbol)));
        f.types.push_back(type);
        f.objects.push_back(object);
        f.typeSymbols.push_back(p.type.symbol);
        f.names.push_back(p.name.symbol);
    }
    if (n.returnsNothing) {
        f.returns = NothingType;
    } else {
        f.returnsSymbol = n.type.symbol;
        ResolveType(n.type, f.returns, f.returnsObject);
    }
    if (f.broken)
        f.returns = ErrorType;
    functions_.push_back(std::move(f));
    return int(functions_.size()) - 1;
}

void Checker::DeclareGlobal(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.kind != NodeKind::Variable)
        return;
    int type = ErrorType, object = -1;
    ResolveType(n.type, type, object);
    const bool isKey = n.type.symbol == words_->key && symbols_[n.type.symbol].type == keyType_;
    const bool isArray = n.flags & IsArray;
    const bool isConstant = (n.flags & Constant) || isKey;
    if (isArray && (n.flags & Constant))
        ReportAt(n.name, M::ConstantArray());
    if (isArray && type == Code)
        ReportAt(n.type, M::CodeArray());
    if (isArray && !n.value.empty())
        ReportAt(n.op, M::ArrayValue());
    if ((n.flags & Constant) && !isArray && !isKey && n.value.empty())
        ReportAt(n.name, M::ConstantNeedsValue(Name(n.name.symbol)));
    CheckDeclaredName(n.name);
    const int index = int(globals_.size());
    globals_.push_back(GlobalInfo { n.name.symbol, type, isArray, isConstant,
        isArray || isKey || !n.value.empty(), At(n.name), object, !n.size2.empty() });
    if (!DeclareName(n, GlobalField, index))
        return;
    if (!n.value.empty())
        nodeFunction_[size_t(node)] = index;
    if (keep_)
        result_.declared.globals.append(
            Variable { WrittenType(type == Integer && object >= 0 ? ErrorType : type, n.type.symbol),
                Name(n.name.symbol), isArray, isConstant, At(n.name) });
}

void Checker::DeclareNative(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.name.kind != Tok::Name)
        return;
    const int f = SignatureOf(n, n.name.symbol);
    nodeFunction_[size_t(node)] = f;
    CheckDeclaredName(n.name);
    if (DeclareName(n, FunctionField, f) && keep_) {
        const FunctionInfo &info = functions_[size_t(f)];
        Function declared { Name(n.name.symbol), {}, WrittenType(info.returns, info.returnsSymbol),
            info.isConstant, true, info.at };
        for (size_t i = 0; i < info.types.size(); ++i)
            declared.parameters.append(Variable { WrittenType(info.types[i], info.typeSymbols[i]),
                Name(info.names[i]), false, false, info.at });
        result_.declared.functions.append(declared);
    }
}

int Checker::OperatorSymbol(const Node &n)
{
    if (!(n.flags & Operator))
        return n.name.kind == Tok::Name ? n.name.symbol : -1;
    switch (n.op.kind) {
    case Tok::LBracket:
        // A struct may have a static '[]' beside the one of its instances.
        if (n.flags & Static)
            return n.setter ? words_->staticIndexSet : words_->staticIndex;
        return n.setter ? words_->indexSet : words_->index;
    case Tok::Lt:
        return InternText("<");
    case Tok::Gt:
        return InternText(">");
    case Tok::Eq:
        return InternText("==");
    case Tok::Name: {
        const std::string_view name = symbols_[n.op.symbol].name;
        return n.setter ? InternText(QByteArray(name.data(), qsizetype(name.size())) + '=') : n.op.symbol;
    }
    default:
        return -1;
    }
}

int Checker::AddMember(int object, int module, int symbol, MemberInfo m)
{
    ObjectInfo &o = objects_[size_t(object)];
    m.symbol = symbol;
    m.object = object;
    m.module = module;
    const int index = int(members_.size());
    if (module >= 0 && (m.flags & Private)) {
        o.modulePrivate[(std::int64_t(module) << 32) | std::uint32_t(symbol)] = index;
    } else {
        const auto found = o.members.find(symbol);
        if (found != o.members.end() && !members_[size_t(found->second)].builtin) {
            const MemberInfo &previous = members_[size_t(found->second)];
            const Node &at = tree_.nodes[size_t(m.node)];
            const Node &before = tree_.nodes[size_t(previous.node)];
            const Position where { before.source, OriginalLine(before.source, before.name.line) };
            if (at.source == source_)
                ReportAt(at.name, M::Redeclared(Name(symbol), Where(where)));
            return found->second;
        }
        o.members[symbol] = index;
    }
    if (m.node >= 0)
        o.nodeMembers[m.node] = index;
    members_.push_back(m);
    return index;
}

void Checker::DeclareMembers(int node)
{
    const int object = nodeObject_[size_t(node)];
    if (object < 0)
        return;
    const Node &n = tree_.nodes[size_t(node)];
    Symbol &thistype = symbols_[words_->thistype];
    const int savedThistype = thistype.type;
    thistype.type = objects_[size_t(object)].type;
    const Context saved = ctx_;
    ctx_ = Context { object, -1, true };
    if (n.type.kind == Tok::Name) {
        const int parentType = symbols_[n.type.symbol].type;
        const int parent = parentType >= 0 ? types_[size_t(parentType)].object : -1;
        if (parent < 0
            || (objects_[size_t(parent)].kind != ObjectKind::Struct
                && objects_[size_t(parent)].kind != ObjectKind::Interface)) {
            if (symbols_[n.type.symbol].placeholder < 0)
                ReportAt(n.type, M::NotAStruct(Name(n.type.symbol)));
        } else if (parent == object) {
            ReportAt(n.type, M::NotAStruct(Name(n.type.symbol)));
        } else {
            objects_[size_t(object)].parent = parent;
        }
    }
    for (int child : n.children)
        DeclareMember(object, -1, child);
    objects_[size_t(object)].membersDone = true;
    ctx_ = saved;
    thistype.type = savedThistype;
}

void Checker::DeclareMember(int object, int module, int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    switch (n.kind) {
    case NodeKind::Variable: {
        MemberInfo m;
        m.kind = MemberKind::Field;
        m.node = node;
        m.flags = n.flags;
        ResolveType(n.type, m.type, m.typeObject);
        if ((n.flags & IsArray) && !(n.flags & Static) && n.size.empty())
            ReportAt(n.name, M::ArrayMemberSize());
        m.twoD = !n.size2.empty();
        if (n.type.symbol == words_->key)
            m.flags |= Constant | Static;
        if ((n.flags & Constant) && !n.value.empty()) {
            const std::string_view value(
                text_->constData() + n.value.begin, size_t(n.value.end - n.value.begin));
            if (value.substr(0, 4) == "true")
                m.literal = 1;
            else if (value.substr(0, 5) == "false")
                m.literal = 0;
        }
        CheckDeclaredName(n.name);
        const int index = AddMember(object, module, n.name.symbol, m);
        if ((n.flags & Delegate) && index == int(members_.size()) - 1)
            objects_[size_t(object)].delegates.push_back(index);
        break;
    }
    case NodeKind::Method: {
        const int symbol = OperatorSymbol(n);
        if (symbol < 0)
            break;
        MemberInfo m;
        m.node = node;
        m.flags = n.flags;
        if (n.flags & Operator) {
            if (n.op.kind == Tok::LBracket)
                m.kind = n.setter ? MemberKind::IndexSet : MemberKind::Index;
            else if (n.op.kind == Tok::Name)
                m.kind = n.setter ? MemberKind::Setter : MemberKind::Getter;
            else
                m.kind = MemberKind::Method;
        } else {
            m.kind = MemberKind::Method;
        }
        QByteArray label;
        if (n.flags & Operator) {
            std::string_view op = symbols_[symbol].name;
            if (op.substr(0, 7) == "static ")
                op.remove_prefix(7);
            label = "operator " + QByteArray(op.data(), qsizetype(op.size()));
        }
        m.function = SignatureOf(n, label.isEmpty() ? symbol : InternText(label));
        if (n.flags & NoSignature)
            functions_[size_t(m.function)].broken = true;
        AddMember(object, module, symbol, m);
        break;
    }
    case NodeKind::Implement:
        ImplementModule(object, node, n.name.kind == Tok::Name ? symbols_[n.name.symbol].module : -1);
        break;
    case NodeKind::StaticIf: {
        const auto [from, to] = StaticIfBranch(node);
        for (size_t i = from; i < to; ++i)
            DeclareMember(object, module, tree_.nodes[size_t(node)].children[i]);
        break;
    }
    default:
        break;
    }
}

// The members of a module become the struct's, read in the scope the module
// is declared in; a module implemented again is passed over.
void Checker::ImplementModule(int object, int implementNode, int module)
{
    const Node &impl = tree_.nodes[size_t(implementNode)];
    if (module < 0) {
        if (!(impl.flags & Optional) && impl.name.kind == Tok::Name)
            ReportAt(impl.name, M::NotAModule(Name(impl.name.symbol)));
        return;
    }
    ObjectInfo &o = objects_[size_t(object)];
    if (std::find(o.modules.begin(), o.modules.end(), module) != o.modules.end())
        return;
    o.modules.push_back(module);
    if (o.modules.size() > 256)
        return;
    const std::vector<int> chain = activeScopes_;
    SwitchScopes(objects_[size_t(module)].scope);
    const int savedModule = ctx_.module;
    ctx_.module = module;
    for (int child : tree_.nodes[size_t(objects_[size_t(module)].node)].children)
        DeclareMember(object, module, child);
    ctx_.module = savedModule;
    SetChain(chain);
}

// What every struct, interface and dynamic array has without declaring it,
// and the checks that need every member known.
void Checker::FinishObjects()
{
    for (int o = 0; o < int(objects_.size()); ++o) {
        int depth = 0;
        for (int p = objects_[size_t(o)].parent; p >= 0; p = objects_[size_t(p)].parent) {
            if (p == o || ++depth > MaxParents) {
                const Node &n = tree_.nodes[size_t(objects_[size_t(o)].node)];
                source_ = n.source;
                text_ = &pre_.sources[size_t(n.source)].text;
                ReportAt(n.type, M::ExtendsItself(ObjectName(o)));
                objects_[size_t(o)].parent = -1;
                break;
            }
        }
    }
    std::vector<char> done(objects_.size(), 0);
    const auto add = [&](auto &&self, int o) -> void {
        if (done[size_t(o)])
            return;
        done[size_t(o)] = 1;
        if (objects_[size_t(o)].parent >= 0)
            self(self, objects_[size_t(o)].parent);
        AddBuiltins(o);
    };
    for (int o = 0; o < int(objects_.size()); ++o)
        add(add, o);
    // A struct that extends an interface has its methods, or the defaults.
    for (int o = 0; o < int(objects_.size()); ++o) {
        const ObjectInfo &s = objects_[size_t(o)];
        if (s.kind != ObjectKind::Struct || s.parent < 0
            || objects_[size_t(s.parent)].kind != ObjectKind::Interface)
            continue;
        const ObjectInfo &i = objects_[size_t(s.parent)];
        const Node &n = tree_.nodes[size_t(s.node)];
        source_ = n.source;
        text_ = &pre_.sources[size_t(n.source)].text;
        for (const auto &[symbol, member] : i.members) {
            const MemberInfo &m = members_[size_t(member)];
            if (m.builtin || m.kind == MemberKind::Field || (m.flags & (HasDefault | NoSignature)))
                continue;
            if (!s.members.count(symbol))
                ReportAt(n.name, M::MissingMethod(ObjectName(o), ObjectName(s.parent), Name(symbol)));
        }
    }
}

void Checker::AddBuiltins(int object)
{
    ObjectInfo &o = objects_[size_t(object)];
    if (o.kind == ObjectKind::Module || o.kind == ObjectKind::Key || o.kind == ObjectKind::FunctionInterface
        || o.symbol < 0)
        return;
    const auto method
        = [&](const char *name, std::uint32_t flags, std::vector<int> types, std::vector<int> objects,
              int returns, int returnsObject, MemberKind kind = MemberKind::Method) {
              const int symbol = InternText(name);
              if (o.members.count(symbol))
                  return;
              FunctionInfo f;
              f.symbol = symbol;
              f.types = std::move(types);
              f.objects = std::move(objects);
              for (size_t i = 0; i < f.types.size(); ++i) {
                  f.names.push_back(symbol);
                  f.typeSymbols.push_back(-1);
              }
              f.returns = returns;
              f.returnsObject = returnsObject;
              MemberInfo m;
              m.kind = kind;
              m.flags = flags;
              m.builtin = true;
              m.type = returns;
              m.typeObject = returnsObject;
              m.function = int(functions_.size());
              functions_.push_back(std::move(f));
              m.symbol = symbol;
              m.object = object;
              objects_[size_t(object)].members[symbol] = int(members_.size());
              members_.push_back(m);
          };
    const auto field = [&](const char *name, std::uint32_t flags, int type) {
        const int symbol = InternText(name);
        if (o.members.count(symbol))
            return;
        MemberInfo m;
        m.kind = MemberKind::Field;
        m.flags = flags;
        m.builtin = true;
        m.type = type;
        m.symbol = symbol;
        m.object = object;
        o.members[symbol] = int(members_.size());
        members_.push_back(m);
    };
    const auto parameters
        = [&](int of, const char *name, std::vector<int> &types, std::vector<int> &objects) {
              const auto found = objects_[size_t(of)].members.find(InternText(name));
              if (found == objects_[size_t(of)].members.end() || members_[size_t(found->second)].function < 0)
                  return false;
              const FunctionInfo &f = functions_[size_t(members_[size_t(found->second)].function)];
              types = f.types;
              objects = f.objects;
              if (objects.size() < types.size())
                  objects.resize(types.size(), -1);
              return true;
          };
    switch (o.kind) {
    case ObjectKind::Struct:
        if (o.arrayStruct)
            break;
        {
            // allocate takes what the parent's create takes.
            std::vector<int> types, objects;
            if (o.parent >= 0 && objects_[size_t(o.parent)].kind == ObjectKind::Struct)
                parameters(o.parent, "create", types, objects);
            method("allocate", Static | Private, types, objects, Integer, object);
            method("create", Static, types, objects, Integer, object);
        }
        method("destroy", 0, {}, {}, NothingType, -1);
        method("deallocate", Private, {}, {}, NothingType, -1);
        method("getType", 0, {}, {}, Integer, -1);
        field("typeid", Static | Constant, Integer);
        break;
    case ObjectKind::Interface:
        method("create", Static, { Integer }, { -1 }, Integer, object);
        method("destroy", 0, {}, {}, NothingType, -1);
        method("getType", 0, {}, {}, Integer, -1);
        field("typeid", Static | Constant, Integer);
        break;
    case ObjectKind::DynamicArray:
        method("create", Static, {}, {}, Integer, object);
        method("destroy", 0, {}, {}, NothingType, -1);
        field("size", Static | Constant, Integer);
        break;
    default:
        break;
    }
}

// Bodies

void Checker::CheckFunctionNode(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    const int f = nodeFunction_[size_t(node)] >= 0
        ? nodeFunction_[size_t(node)]
        : SignatureOf(n, n.name.kind == Tok::Name ? n.name.symbol : -1);
    nodeFunction_[size_t(node)] = f;
    if (n.name.kind == Tok::Name) {
        CheckDeclaredName(n.name);
        if (DeclareName(n, FunctionField, f) && keep_) {
            const FunctionInfo &info = functions_[size_t(f)];
            Function declared { Name(n.name.symbol), {}, WrittenType(info.returns, info.returnsSymbol),
                info.isConstant, false, info.at };
            for (size_t i = 0; i < info.types.size(); ++i)
                declared.parameters.append(Variable {
                    WrittenType(info.objects[i] >= 0 ? ErrorType : info.types[i], info.typeSymbols[i]),
                    Name(info.names[i]), false, false, info.at });
            if (info.returnsObject >= 0)
                declared.returns = Name(info.returnsSymbol);
            result_.declared.functions.append(declared);
        }
    }
    CheckBody(node, f, Context());
}

void Checker::CheckBody(int node, int function, const Context &context)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.body.empty() || function < 0)
        return;
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    Lexer lexer(text_->constData(), n.body.end, symbols_,
        [this](int line, int column, int length, int kind, int value) {
            if (!quiet_)
                LexProblem(line, column, length, kind, value);
        });
    lexer.SetVjass(true);
    lexer.Seek(n.body.begin, n.body.line, n.body.lineStart);
    lex_ = &lexer;
    tok_ = Token();
    lineFailed_ = false;
    previousEnd_ = n.body.begin;
    Advance();
    const Context saved = ctx_;
    ctx_ = context;
    current_ = functions_[size_t(function)];
    if (current_.broken)
        current_.returns = ErrorType;
    inFunction_ = true;
    statementsSeen_ = false;
    ++epoch_;
    locals_.clear();
    Scope scope;
    scope.source = n.source;
    scope.firstLine = OriginalLine(n.source, n.firstLine);
    if (keep_) {
        scope.function = Name(current_.symbol);
        scope_ = &scope;
    }
    const auto local = [&](int symbol, int type, int object, bool isParameter) {
        Symbol &s = symbols_[symbol];
        s.localOwner = epoch_;
        s.local = int(locals_.size());
        locals_.push_back(LocalInfo { symbol, type, false, true, isParameter, n.firstLine, object });
    };
    if (!context.isStatic && context.object >= 0)
        local(words_->thisWord, Integer, context.object, true);
    for (size_t i = 0; i < current_.names.size(); ++i) {
        local(current_.names[i], current_.types[i], i < current_.objects.size() ? current_.objects[i] : -1,
            true);
        if (keep_)
            scope.parameters.append(Variable {
                WrittenType(
                    i < current_.objects.size() && current_.objects[i] >= 0 ? ErrorType : current_.types[i],
                    current_.typeSymbols[i]),
                Name(current_.names[i]), false, false, { n.source, scope.firstLine } });
    }
    blocks_.clear();
    blocks_.push_back(Block { Tok::Function, n.firstLine });
    blocksBroken_ = false;
    ParseLocals();
    bool ends = ParseBlock();
    while (tok_.kind != Tok::End) {
        Stray();
        ends = ParseBlock();
    }
    if (!ends && !blocksBroken_ && !(n.flags & Unclosed) && current_.returns != NothingType
        && current_.returns != ErrorType && n.closer.kind != Tok::End)
        ReportAt(n.closer, M::MissingReturn(Name(current_.symbol), TypeName(current_.returns)));
    scope.lastLine = OriginalLine(n.source, n.lastLine);
    blocks_.clear();
    scope_ = nullptr;
    inFunction_ = false;
    ++epoch_;
    lex_ = nullptr;
    ctx_ = saved;
    if (keep_) {
        for (Variable &v : scope.locals)
            v.at.line = OriginalLine(n.source, v.at.line);
        result_.scopes.append(scope);
    }
}

// The initial value of a global or a member, read again from its range.
void Checker::CheckValue(int node, int type, int object)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.value.empty() || (n.flags & IsArray))
        return;
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    // Its lexer problems were reported with its line.
    Lexer lexer(text_->constData(), n.value.end, symbols_, [](int, int, int, int, int) {});
    lexer.SetVjass(true);
    lexer.Seek(n.value.begin, n.value.line, n.value.lineStart);
    lex_ = &lexer;
    tok_ = Token();
    lineFailed_ = false;
    previousEnd_ = n.value.begin;
    ++epoch_;
    Advance();
    const Value v = ParseExpression();
    if (!lineFailed_ && !AtLineEnd())
        SyntaxError(M::Want::EndOfLine);
    if (!lineFailed_ && !Converts(v.type, type, Use::Assign))
        ReportAt(v,
            M::Conversion(
                Describe(v), Name(n.name.symbol), object >= 0 ? ObjectName(object) : TypeName(type)));
    lex_ = nullptr;
}

void Checker::CheckObjectBodies(int node)
{
    const int object = nodeObject_[size_t(node)];
    if (object < 0)
        return;
    Symbol &thistype = symbols_[words_->thistype];
    const int savedThistype = thistype.type;
    thistype.type = objects_[size_t(object)].type;
    std::vector<int> seen;
    const auto walk = [&](auto &&self, int module, int child) -> void {
        const Node &n = tree_.nodes[size_t(child)];
        const ObjectInfo &o = objects_[size_t(object)];
        switch (n.kind) {
        case NodeKind::Variable: {
            const auto found = o.nodeMembers.find(child);
            if (found != o.nodeMembers.end()) {
                const MemberInfo &m = members_[size_t(found->second)];
                ctx_ = Context { object, module, true };
                CheckValue(child, m.type, m.typeObject);
            }
            break;
        }
        case NodeKind::Method: {
            const auto found = o.nodeMembers.find(child);
            if (found != o.nodeMembers.end()) {
                const MemberInfo &m = members_[size_t(found->second)];
                CheckBody(child, m.function, Context { object, module, bool(n.flags & Static) });
            }
            break;
        }
        case NodeKind::Implement: {
            const int m = n.name.kind == Tok::Name ? symbols_[n.name.symbol].module : -1;
            if (m < 0 || std::find(seen.begin(), seen.end(), m) != seen.end() || seen.size() > 256)
                break;
            seen.push_back(m);
            std::vector<int> chain = activeScopes_;
            SwitchScopes(objects_[size_t(m)].scope);
            const Context saved = ctx_;
            ctx_ = Context { object, m, true };
            for (int c : tree_.nodes[size_t(objects_[size_t(m)].node)].children)
                self(self, m, c);
            ctx_ = saved;
            SetChain(chain);
            break;
        }
        case NodeKind::StaticIf: {
            ctx_ = Context { object, module, true };
            const auto [from, to] = StaticIfBranch(child);
            for (size_t i = from; i < to; ++i)
                self(self, module, tree_.nodes[size_t(child)].children[i]);
            break;
        }
        default:
            break;
        }
    };
    const Context saved = ctx_;
    for (int child : tree_.nodes[size_t(node)].children)
        walk(walk, -1, child);
    ctx_ = saved;
    thistype.type = savedThistype;
}

// A library's or scope's initializer is one of its functions and takes nothing.
void Checker::CheckScopeEnd(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.type.kind != Tok::Name)
        return;
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    const Symbol &s = symbols_[n.type.symbol];
    if (s.function < 0) {
        // A library's initializer is called by its name at run time: the build does not fail.
        if (s.placeholder < 0 && n.kind == NodeKind::Library)
            Report(n.type.line, n.type.column, n.type.length, M::InitializerMissing(Name(n.type.symbol)),
                Severity::Warning);
        else if (s.placeholder < 0)
            ReportAt(n.type, M::Undeclared(Name(n.type.symbol)));
        return;
    }
    const FunctionInfo &f = functions_[size_t(s.function)];
    if (!f.types.empty() && !f.broken)
        ReportAt(n.type, M::InitializerTakes(Name(n.type.symbol), int(f.types.size())));
}

// "hook NATIVE F": both must be known; F takes what NATIVE takes.
void Checker::CheckHook(int node)
{
    const Node &n = tree_.nodes[size_t(node)];
    if (n.name.kind != Tok::Name || n.type.kind != Tok::Name)
        return;
    const Symbol &hooked = symbols_[n.name.symbol];
    if (hooked.function < 0) {
        ReportUndeclared(n.name);
        return;
    }
    const FunctionInfo *target = nullptr;
    if (n.op.kind == Tok::Name) {
        const int type = symbols_[n.type.symbol].type;
        const int object = type >= 0 ? types_[size_t(type)].object : -1;
        if (object < 0) {
            ReportAt(n.type, M::NotAStruct(Name(n.type.symbol)));
            return;
        }
        const int m = FindMember(object, n.op.symbol);
        if (m < 0 || members_[size_t(m)].function < 0) {
            NotAMember(n.op, object);
            return;
        }
        target = &functions_[size_t(members_[size_t(m)].function)];
    } else {
        const Symbol &s = symbols_[n.type.symbol];
        if (s.function < 0) {
            if (s.placeholder < 0)
                ReportUndeclared(n.type);
            return;
        }
        target = &functions_[size_t(s.function)];
    }
    const FunctionInfo &f = functions_[size_t(hooked.function)];
    if (!target->broken && target->types.size() != f.types.size())
        ReportAt(n.op.kind == Tok::Name ? n.op : n.type,
            M::HookArguments(Name(n.name.symbol), int(f.types.size())));
}

void Checker::FinishVjass(int firstDiagnostic)
{
    for (int i = firstDiagnostic; i < int(result_.diagnostics.size()); ++i)
        MapBack(pre_, result_.diagnostics[i]);
    result_.diagnostics += pre_.diagnostics;
    result_.missingMacros = pre_.missingMacros;
    result_.missingMacros.removeDuplicates();
    // A module's code is checked once per struct that implements it: the same
    // message once.
    std::set<std::tuple<int, int, int, QString>> seen;
    QList<Diagnostic> unique;
    unique.reserve(result_.diagnostics.size());
    for (const Diagnostic &d : std::as_const(result_.diagnostics)) {
        if (seen.emplace(d.source, d.line, d.column, d.message).second)
            unique.append(d);
    }
    result_.diagnostics.swap(unique);
    text_ = nullptr;
    if (keep_)
        BuildOutline();
}

void Checker::BuildOutline()
{
    const auto text = [&](const Token &t) {
        if (t.symbol >= 0)
            return Name(t.symbol);
        const QByteArray &bytes = pre_.sources[size_t(source_)].text;
        return QString::fromUtf8(
            bytes.constData() + t.begin, qMin<qsizetype>(t.length, bytes.size() - t.begin));
    };
    // A line and column of the preprocessed text, where they show in the source.
    const auto place = [&](int source, int line, int column, int &outLine, int &outColumn) {
        const std::vector<LineOrigin> &lines = pre_.sources[size_t(source)].lines;
        outLine = line;
        outColumn = column;
        if (lines.empty() || line < 1)
            return;
        const LineOrigin &o = lines[size_t(qMin<qsizetype>(line, qsizetype(lines.size())) - 1)];
        outLine = o.line;
        if (o.macro >= 0 || o.text >= 0)
            outColumn = qMax(1, o.column);
    };
    std::vector<int> index(tree_.nodes.size(), -1);
    QList<Declaration> list;
    for (int i = 0; i < int(tree_.nodes.size()); ++i) {
        const Node &n = tree_.nodes[size_t(i)];
        if (n.kind == NodeKind::StaticIf || n.kind == NodeKind::Hook)
            continue;
        source_ = n.source;
        Declaration d;
        switch (n.kind) {
        case NodeKind::Library:
            d.kind = Declaration::Kind::Library;
            for (const Requirement &r : n.requirements)
                d.uses.append(Name(r.name.symbol));
            break;
        case NodeKind::Scope:
            d.kind = Declaration::Kind::Scope;
            break;
        case NodeKind::Struct:
            d.kind = Declaration::Kind::Struct;
            d.type = n.type.kind == Tok::Name ? text(n.type)
                : (n.flags & IsArray)         ? QStringLiteral("array")
                                              : QString();
            break;
        case NodeKind::Interface:
            d.kind = Declaration::Kind::Interface;
            break;
        case NodeKind::Module:
            d.kind = Declaration::Kind::Module;
            break;
        case NodeKind::Globals:
            d.kind = Declaration::Kind::Globals;
            break;
        case NodeKind::Variable:
            d.kind = n.parent >= 0 && tree_.nodes[size_t(n.parent)].kind == NodeKind::Globals
                ? Declaration::Kind::Global
                : Declaration::Kind::Member;
            d.type = text(n.type);
            break;
        case NodeKind::Function:
        case NodeKind::Method:
        case NodeKind::Native:
        case NodeKind::FunctionInterface:
            d.kind = n.kind == NodeKind::Function ? Declaration::Kind::Function
                : n.kind == NodeKind::Method      ? Declaration::Kind::Method
                : n.kind == NodeKind::Native      ? Declaration::Kind::Native
                                                  : Declaration::Kind::FunctionInterface;
            d.type = n.returnsNothing ? QStringLiteral("nothing") : text(n.type);
            for (const Parameter &p : n.parameters)
                d.parameters.append(Variable { text(p.type), text(p.name), false, false,
                    Position { n.source, OriginalLine(n.source, p.name.line) } });
            break;
        case NodeKind::Type:
            d.kind = Declaration::Kind::Type;
            d.type = text(n.type);
            break;
        case NodeKind::Keyword:
            d.kind = Declaration::Kind::Keyword;
            break;
        default:
            d.kind = Declaration::Kind::Implement;
            break;
        }
        if (n.name.kind == Tok::End)
            continue;
        d.name = text(n.name);
        if (n.flags & Operator)
            d.name = QStringLiteral("operator ")
                + (n.op.kind == Tok::LBracket ? QStringLiteral("[]") : d.name)
                + (n.setter ? QStringLiteral("=") : QString());
        static const std::pair<std::uint32_t, const char *> Modifiers[] = { { Private, "private" },
            { Public, "public" }, { Static, "static" }, { Constant, "constant" }, { Readonly, "readonly" },
            { Stub, "stub" }, { Delegate, "delegate" }, { IsArray, "array" }, { Optional, "optional" } };
        for (const auto &[flag, word] : Modifiers) {
            if (n.flags & flag)
                d.modifiers.append(QString::fromLatin1(word));
        }
        d.source = n.source;
        place(n.source, n.name.line, n.name.column, d.line, d.column);
        int column = 0;
        place(n.source, n.firstLine, 1, d.firstLine, column);
        place(n.source, qMax(n.firstLine, n.lastLine), 1, d.lastLine, column);
        for (int p = n.parent; p >= 0; p = tree_.nodes[size_t(p)].parent) {
            if (index[size_t(p)] >= 0) {
                d.parent = index[size_t(p)];
                break;
            }
        }
        if (d.kind == Declaration::Kind::Implement && d.parent >= 0)
            list[d.parent].uses.append(d.name);
        index[size_t(i)] = int(list.size());
        list.append(d);
    }
    // Textmacros, at their definitions; then everything in document order.
    for (const TextMacro &m : pre_.macros) {
        Declaration d;
        d.kind = Declaration::Kind::TextMacro;
        d.name = QString::fromUtf8(m.name);
        d.source = m.source;
        d.line = d.firstLine = m.origin.line;
        d.column = qMax(1, m.origin.column);
        d.lastLine
            = m.origin.macro < 0 && m.origin.text < 0 && m.text == m.source ? m.lastLine : m.origin.line;
        for (const QByteArray &p : m.parameters)
            d.parameters.append(
                Variable { QString(), QString::fromUtf8(p), false, false, Position { m.source, d.line } });
        list.append(d);
    }
    std::vector<int> order(size_t(list.size()));
    for (int i = 0; i < int(order.size()); ++i)
        order[size_t(i)] = i;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return std::tie(list[a].source, list[a].firstLine) < std::tie(list[b].source, list[b].firstLine);
    });
    std::vector<int> moved(order.size());
    for (int i = 0; i < int(order.size()); ++i)
        moved[size_t(order[size_t(i)])] = i;
    result_.outline.reserve(list.size());
    for (int i : order) {
        Declaration d = list[i];
        if (d.parent >= 0)
            d.parent = moved[size_t(d.parent)];
        result_.outline.append(d);
    }
}

} // namespace Analysis
