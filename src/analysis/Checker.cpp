#include "Checker.h"

#include "Messages.h"

#include <algorithm>

namespace Analysis {

namespace M = Messages;

namespace {

// Natives that crash the game when a globals block calls them.
const char *const GlobalsCrashers[] = { "CreateRegion", "GetObjectName", "UnitId2String" };

// Longer names are rejected by old patches.
constexpr int OldPatchNameLength = 3958;

// Deeper nesting is surely not a script, and would exhaust the stack.
constexpr int MaxDepth = 256;

// The most 'if' and 'loop' blocks open at once. Each level costs the parser a
// few frames of stack, and the check also runs on worker threads, whose
// stacks may be small: this many levels with the deepest expression inside
// stay far below the smallest of them.
constexpr size_t MaxBlocks = 256;

// The most arguments one call can pass.
constexpr size_t MaxArguments = 31;

} // namespace

Checker::Checker(const Api &api, Result &result, bool keepDeclarations)
    : api_(api)
    , result_(result)
    , keep_(keepDeclarations)
{
    for (const Type &t : PrimitiveApi().types) {
        const int s = InternOwned(t.name);
        symbols_[s].type = int(types_.size());
        types_.push_back(TypeInfo { s, -1, Position() });
    }
    DeclareApi(api_);
}

int Checker::InternOwned(const QString &name)
{
    QByteArray bytes = name.toUtf8();
    const int found = symbols_.Find(std::string_view(bytes.constData(), size_t(bytes.size())));
    if (found >= 0)
        return found;
    owned_.push_back(bytes);
    const QByteArray &kept = owned_.back();
    return symbols_.Intern(std::string_view(kept.constData(), size_t(kept.size())));
}

int Checker::TypeOf(const QString &name)
{
    if (name == QLatin1String("nothing"))
        return NothingType;
    const int s = InternOwned(name);
    return symbols_[s].type >= 0 ? symbols_[s].type : ErrorType;
}

void Checker::DeclareApi(const Api &api)
{
    for (const Type &t : api.types) {
        const int s = InternOwned(t.name);
        if (symbols_[s].type >= 0)
            continue;
        // The parent before the type itself: a type named as its own parent
        // (an API taken from a broken file) must not make a loop. A parent
        // that is not a handle type stands for handle, as in a source.
        const int parent = t.parent.isEmpty() ? -1 : TypeOf(t.parent);
        symbols_[s].type = int(types_.size());
        types_.push_back(TypeInfo { s, IsHandle(parent) ? parent : Handle, Position() });
    }
    for (const Function &f : api.functions) {
        FunctionInfo info;
        info.symbol = InternOwned(f.name);
        for (const Variable &p : f.parameters) {
            info.types.push_back(TypeOf(p.type));
            info.names.push_back(InternOwned(p.name));
        }
        info.returns = TypeOf(f.returns);
        info.isConstant = f.isConstant;
        info.isNative = f.isNative;
        // Positions of the API point into the sources of another analysis.
        info.at = Position();
        symbols_[info.symbol].function = int(functions_.size());
        functions_.push_back(std::move(info));
    }
    for (const Variable &g : api.globals) {
        const int s = InternOwned(g.name);
        symbols_[s].global = int(globals_.size());
        globals_.push_back(GlobalInfo { s, TypeOf(g.type), g.isArray, g.isConstant, true, Position() });
    }
}

QString Checker::Name(int symbol) const
{
    if (symbol < 0)
        return QStringLiteral("?");
    // Cached, so the declarations the result lists share their strings.
    if (size_t(symbol) >= names_.size())
        names_.resize(size_t(symbol) + 1024);
    QString &name = names_[size_t(symbol)];
    if (name.isNull()) {
        const std::string_view n = symbols_[symbol].name;
        name = QString::fromUtf8(n.data(), qsizetype(n.size()));
    }
    return name;
}

QString Checker::TypeName(int type) const
{
    switch (type) {
    case ErrorType:
        return QStringLiteral("?");
    case NullType:
        return QStringLiteral("null");
    case NothingType:
        return QStringLiteral("nothing");
    default:
        return Name(types_[size_t(type)].symbol);
    }
}

// A type as the declaration wrote it, even when it is not known.
QString Checker::WrittenType(int type, int symbol) const
{
    if (type != ErrorType)
        return TypeName(type);
    return symbol >= 0 ? Name(symbol) : QStringLiteral("nothing");
}

QString Checker::Where(const Position &at) const
{
    if (at.source < 0 || at.source >= int(sources_->size()))
        return M::WhereApi();
    if (at.source == source_)
        return M::WhereLine(at.line);
    return M::WhereSource((*sources_)[at.source].name, at.line);
}

bool Checker::Extends(int type, int ancestor) const
{
    for (int t = type; t >= 0; t = types_[size_t(t)].parent) {
        if (t == ancestor)
            return true;
    }
    return false;
}

bool Checker::IsHandle(int type) const
{
    return type >= 0 && Extends(type, Handle);
}

// A value of type `from` where `to` is expected. null stands for 0 in a
// variable, but a function may not return it as a number or as code.
bool Checker::Converts(int from, int to, Use use) const
{
    if (from == ErrorType || to == ErrorType || from == to)
        return true;
    if (from == Integer && to == Real)
        return true;
    if (from == NullType) {
        if (IsHandle(to))
            return true;
        return use == Use::Assign && (to == String || to == Integer || to == Real || to == Code);
    }
    return from >= 0 && IsHandle(from) && to >= 0 && Extends(from, to);
}

// Diagnostics

void Checker::Report(int line, int column, int length, const QString &message, Severity severity)
{
    result_.diagnostics.append(Diagnostic { severity, source_, line, column, qMax(1, length), message });
}

void Checker::ReportAt(const Token &t, const QString &message)
{
    Report(t.line, t.column, t.length, message);
}

void Checker::ReportAt(const Value &v, const QString &message)
{
    Report(v.line, v.column, v.end - v.begin, message);
}

void Checker::LexProblem(int line, int column, int length, int kind, int value)
{
    // For the problems that quote their text, `value` is its offset in the source.
    QString word;
    QByteArrayView bytes;
    if (kind == BadCharacter || kind == NameEnd || kind == UnknownEscape || kind == ByteInString
        || kind == ByteInRawcode || kind == ByteInComment) {
        const QByteArray &text = text_ ? *text_ : (*sources_)[source_].text;
        bytes = QByteArrayView(text.constData() + value, qMin(length, int(text.size()) - value));
        word = QString::fromUtf8(bytes);
    }
    QString message;
    switch (kind) {
    case BadCharacter:
        message = M::BadCharacter(M::Character(bytes));
        break;
    case OpenString:
        message = M::OpenString();
        break;
    case OpenRawcode:
        message = M::OpenRawcode();
        break;
    case LongString:
        message = M::LongString(value);
        break;
    case RawcodeSize:
        message = M::RawcodeSize(value);
        break;
    case BadOctal:
        message = M::BadOctal();
        break;
    case BadHex:
        message = M::BadHex();
        break;
    case UnknownEscape:
        message = M::UnknownEscape(M::Character(bytes));
        break;
    case RawcodeEscape:
        message = M::RawcodeEscape();
        break;
    case EscapeAtLineEnd:
        message = M::EscapeAtLineEnd();
        break;
    case ByteInString:
    case ByteInRawcode:
    case ByteInComment:
        message = M::ForbiddenByte(M::Character(bytes),
            kind == ByteInString        ? M::Literal::String
                : kind == ByteInRawcode ? M::Literal::Rawcode
                                        : M::Literal::Comment);
        break;
    case OpenComment:
        message = M::OpenComment();
        break;
    default:
        message = M::NameEnd(word);
        break;
    }
    // Newer patches load longer strings, and released vJASS maps use them;
    // the plain-JASS check keeps the old patches' limit as an error.
    const bool loads = vjass_ && kind == LongString;
    Report(line, column, length, message, loads ? Severity::Warning : Severity::Error);
}

QString Checker::Found() const
{
    if (tok_.kind == Tok::Newline)
        return M::FoundEndOfLine();
    if (tok_.kind == Tok::End)
        return M::FoundEndOfFile();
    const std::string_view t = lex_->Text(tok_);
    return M::FoundToken(QString::fromUtf8(t.data(), qsizetype(qMin<size_t>(t.size(), 40))));
}

void Checker::CheckDeclaredName(const Token &name)
{
    if (name.length > OldPatchNameLength)
        Report(name.line, name.column, name.length, M::OldPatchName(name.length, OldPatchNameLength),
            Severity::Warning);
}

// Once per name and function: a missing declaration shows at every use.
void Checker::ReportUndeclared(const Token &name)
{
    if (vjass_ && Incomplete())
        return;
    Symbol &s = symbols_[name.symbol];
    if (s.undeclaredEpoch == epoch_)
        return;
    s.undeclaredEpoch = epoch_;
    if (vjass_) {
        // The tree knows the functions further down.
        const auto later = functionNodes_.find(name.symbol);
        if (later != functionNodes_.end()) {
            const Node &n = tree_.nodes[size_t(later->second)];
            ReportAt(name,
                M::DeclaredBelow(
                    Name(name.symbol), Where(Position { n.source, OriginalLine(n.source, n.name.line) })));
        } else {
            ReportAt(name, M::Undeclared(Name(name.symbol)));
        }
        return;
    }
    if (!laterFunctions_) {
        laterFunctions_.emplace();
        for (int i = 0; i < int(sources_->size()); ++i)
            NoteFunctions(i, (*sources_)[i].text);
    }
    const auto later = laterFunctions_->find(s.name);
    if (later != laterFunctions_->end())
        ReportAt(name, M::DeclaredBelow(Name(name.symbol), Where(later->second)));
    else
        ReportAt(name, M::Undeclared(Name(name.symbol)));
}

void Checker::SyntaxError(M::Want expected)
{
    if (lineFailed_)
        return;
    ReportAt(tok_, M::Expected(expected, Found()));
    lineFailed_ = true;
}

void Checker::TooDeep()
{
    if (!lineFailed_)
        ReportAt(tok_, M::TooDeep(MaxDepth));
    lineFailed_ = true;
}

// Tokens

void Checker::Advance()
{
    previousEnd_ = tok_.begin + tok_.length;
    tok_ = lex_->Next();
    // The lexer has reported the bad token; the rest of its line is noise.
    if (tok_.kind == Tok::Bad)
        lineFailed_ = true;
}

bool Checker::Accept(Tok kind)
{
    if (tok_.kind != kind)
        return false;
    Advance();
    return true;
}

bool Checker::Expect(Tok kind, M::Want what)
{
    if (Accept(kind))
        return true;
    SyntaxError(what);
    return false;
}

void Checker::EndLine()
{
    if (!AtLineEnd()) {
        SyntaxError(M::Want::EndOfLine);
        lex_->SkipLine();
        Advance();
    }
    lineFailed_ = false;
    if (tok_.kind == Tok::Newline)
        Advance();
}

// Top level

// Where each function is declared, found by a quick look at the line starts,
// so a call to one declared further down can say so. Only looked for once a
// name is missing, so a clean script does not pay for it.
void Checker::NoteFunctions(int source, const QByteArray &text)
{
    const char *p = text.constData();
    const char *end = p + text.size();
    int line = 1;
    while (p < end) {
        const auto skipBlanks = [&] {
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
        };
        const auto word = [&](std::string_view w) {
            if (size_t(end - p) > w.size() && std::string_view(p, w.size()) == w
                && (p[w.size()] == ' ' || p[w.size()] == '\t')) {
                p += w.size();
                skipBlanks();
                return true;
            }
            return false;
        };
        skipBlanks();
        word("constant");
        if (word("function")) {
            const char *name = p;
            while (p < end
                && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9')
                    || *p == '_'))
                ++p;
            if (p > name)
                laterFunctions_->try_emplace(
                    std::string_view(name, size_t(p - name)), Position { source, line });
        }
        while (p < end && *p != '\n' && *p != '\r')
            ++p;
        if (p < end && *p == '\r' && p + 1 < end && p[1] == '\n')
            ++p;
        if (p < end) {
            ++p;
            ++line;
        }
    }
}

void Checker::Run(const QList<Source> &sources)
{
    sources_ = &sources;
    // Scripts hold about one new name per 150 bytes.
    qsizetype bytes = 0;
    for (const Source &source : sources)
        bytes += source.text.size();
    symbols_.Reserve(size_t(bytes / 128));
    for (source_ = 0; source_ < int(sources.size()); ++source_) {
        const QByteArray &text = sources[source_].text;
        Lexer lexer(text.constData(), int(text.size()), symbols_,
            [this](int line, int column, int length, int kind, int value) {
                LexProblem(line, column, length, kind, value);
            });
        lex_ = &lexer;
        functionsSeen_ = false;
        lineFailed_ = false;
        tok_ = Token();
        Advance();
        ParseSource();
        lex_ = nullptr;
    }
}

void Checker::ParseSource()
{
    while (tok_.kind != Tok::End) {
        switch (tok_.kind) {
        case Tok::Newline:
            Advance();
            break;
        case Tok::Type:
        case Tok::Globals:
        case Tok::Native:
            if (functionsSeen_)
                ReportAt(tok_, M::DeclarationAfterFunctions(Name(tok_.symbol)));
            if (tok_.kind == Tok::Type)
                ParseTypeDeclaration();
            else if (tok_.kind == Tok::Globals)
                ParseGlobals();
            else
                ParseNative(false);
            break;
        case Tok::Constant:
            Advance();
            if (tok_.kind == Tok::Native) {
                if (functionsSeen_)
                    ReportAt(tok_, M::DeclarationAfterFunctions(Name(tok_.symbol)));
                ParseNative(true);
            } else if (tok_.kind == Tok::Function) {
                ParseFunction(true);
            } else {
                SyntaxError(M::Want::NativeOrFunction);
                EndLine();
            }
            break;
        case Tok::Function:
            ParseFunction(false);
            break;
        case Tok::Endglobals:
        case Tok::Endfunction:
            Stray();
            break;
        case Tok::Set:
        case Tok::Call:
        case Tok::If:
        case Tok::Elseif:
        case Tok::Else:
        case Tok::Endif:
        case Tok::Loop:
        case Tok::Endloop:
        case Tok::Exitwhen:
        case Tok::Return:
        case Tok::Local:
        case Tok::Debug:
            // Likely the rest of a body closed too early: one message for all of it.
            ReportAt(tok_, M::OutsideFunction(Name(tok_.symbol)));
            for (;;) {
                lex_->SkipLine();
                Advance();
                EndLine();
                if (tok_.kind == Tok::Endfunction) {
                    lex_->SkipLine();
                    Advance();
                    EndLine();
                    break;
                }
                if (IsBoundary(tok_.kind))
                    break;
            }
            break;
        default:
            SyntaxError(M::Want::Declaration);
            EndLine();
            break;
        }
    }
}

void Checker::ParseTypeDeclaration()
{
    Advance();
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::TypeName) || !Expect(Tok::Extends, M::Want::Extends))
        return EndLine();
    const Token parentTok = tok_;
    if (!Expect(Tok::Name, M::Want::ParentType))
        return EndLine();
    int parent = symbols_[parentTok.symbol].type;
    if (parent < 0) {
        ReportAt(parentTok, M::NotAType(Name(parentTok.symbol)));
        parent = Handle;
    } else if (!IsHandle(parent)) {
        ReportAt(parentTok, M::TypeExtendsPrimitive(Name(name.symbol), Name(parentTok.symbol)));
        parent = Handle;
    }
    CheckDeclaredName(name);
    Symbol &s = symbols_[name.symbol];
    const Position at { source_, name.line };
    if (s.type >= 0) {
        ReportAt(name, M::Redeclared(Name(name.symbol), Where(types_[size_t(s.type)].at)));
    } else {
        s.type = int(types_.size());
        types_.push_back(TypeInfo { name.symbol, parent, at });
        if (keep_)
            result_.declared.types.append(Type { Name(name.symbol), Name(parentTok.symbol), at });
    }
    EndLine();
}

void Checker::ParseGlobals()
{
    const int line = tok_.line;
    Advance();
    EndLine();
    inGlobals_ = true;
    for (;;) {
        if (tok_.kind == Tok::Newline) {
            Advance();
            continue;
        }
        if (tok_.kind == Tok::Endglobals) {
            Advance();
            EndLine();
            break;
        }
        if (tok_.kind == Tok::End || tok_.kind == Tok::Function || tok_.kind == Tok::Native
            || tok_.kind == Tok::Type || tok_.kind == Tok::Globals) {
            ReportAt(tok_, M::MissingEndglobals(line));
            break;
        }
        const bool isConstant = Accept(Tok::Constant);
        if (isConstant && (tok_.kind == Tok::Function || tok_.kind == Tok::Native)) {
            ReportAt(tok_, M::MissingEndglobals(line));
            inGlobals_ = false;
            if (tok_.kind == Tok::Function)
                ParseFunction(true);
            else
                ParseNative(true);
            return;
        }
        ParseVariable(false, isConstant);
    }
    inGlobals_ = false;
}

void Checker::ParseVariable(bool isLocal, bool isConstant)
{
    const Token typeTok = tok_;
    if (tok_.kind != Tok::Name) {
        SyntaxError(M::Want::Type);
        return EndLine();
    }
    int type = symbols_[typeTok.symbol].type;
    Advance();
    const bool isArray = Accept(Tok::Array);
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::VariableName))
        return EndLine();
    if (type < 0 && symbols_[name.symbol].type >= 0) {
        // "constnt integer x": the first word is no type but a misspelt keyword.
        ReportAt(typeTok, M::Expected(M::Want::Type, M::FoundToken(Name(typeTok.symbol))));
        lineFailed_ = true;
        return EndLine();
    }
    if (type < 0 && symbols_[name.symbol].type >= 0) {
        // "constnt integer x": the first word is no type but a misspelt keyword.
        ReportAt(typeTok, M::Expected(M::Want::Type, M::FoundToken(Name(typeTok.symbol))));
        lineFailed_ = true;
        return EndLine();
    }
    const Symbol &written = symbols_[typeTok.symbol];
    if (isLocal && type > Code && written.localOwner == epoch_ && written.local >= 0
        && !locals_[size_t(written.local)].isParameter) {
        // A local named like a type hides the type for the rest of its function.
        ReportAt(typeTok, M::TypeHidden(Name(typeTok.symbol), locals_[size_t(written.local)].line));
        type = ErrorType;
    } else if (type < 0) {
        if (!vjass_ || !Incomplete())
            ReportAt(typeTok, M::NotAType(Name(typeTok.symbol)));
        type = ErrorType;
    }
    // A struct, interface or key is an integer underneath.
    int object = -1;
    if (type >= 0 && types_[size_t(type)].object >= 0)
        ResolveType(typeTok, type, object);
    if (isArray && isConstant)
        ReportAt(name, M::ConstantArray());
    if (isArray && type == Code)
        ReportAt(typeTok, M::CodeArray());
    CheckDeclaredName(name);
    Symbol &s = symbols_[name.symbol];
    const Position at { source_, name.line };
    const auto declared = [&] {
        // A struct's name, not the integer it is underneath.
        return Variable { WrittenType(object >= 0 ? ErrorType : type, typeTok.symbol), Name(name.symbol),
            isArray, isConstant, at };
    };
    // A local is in scope at once, so its own initial value already reads it.
    int local = -1;
    if (isLocal) {
        if (IsPrimitiveName(name.symbol))
            ReportAt(name, M::PrimitiveName(Name(name.symbol)));
        if (s.localOwner == epoch_ && s.local >= 0) {
            const LocalInfo &other = locals_[size_t(s.local)];
            ReportAt(name,
                M::Redeclared(
                    Name(name.symbol), other.isParameter ? M::WhereParameter() : M::WhereLine(other.line)));
            local = s.local;
        } else {
            s.localOwner = epoch_;
            s.local = local = int(locals_.size());
            locals_.push_back(LocalInfo { name.symbol, type, isArray, isArray, false, name.line, object });
            if (scope_)
                scope_->locals.append(declared());
        }
    }
    bool initialised = isArray;
    if (tok_.kind == Tok::Assign) {
        const Token assign = tok_;
        Advance();
        const Value v = ParseExpression();
        if (isArray)
            ReportAt(assign, M::ArrayValue());
        else if (!Converts(v.type, type, Use::Assign))
            ReportAt(v, M::Conversion(Describe(v), Name(name.symbol), TypeName(type)));
        initialised = true;
    } else if (isConstant && !isArray) {
        ReportAt(name, M::ConstantNeedsValue(Name(name.symbol)));
    }
    if (isLocal) {
        if (local >= 0)
            locals_[size_t(local)].assigned |= initialised;
    } else if (s.global >= 0 || s.type >= 0) {
        // A local may take a type's name; a global may not.
        const Position &other = s.global >= 0 ? globals_[size_t(s.global)].at : types_[size_t(s.type)].at;
        ReportAt(name, M::Redeclared(Name(name.symbol), Where(other)));
    } else {
        s.global = int(globals_.size());
        globals_.push_back(GlobalInfo { name.symbol, type, isArray, isConstant, initialised, at });
        if (keep_)
            result_.declared.globals.append(declared());
    }
    EndLine();
}

bool Checker::IsPrimitiveName(int symbol) const
{
    const int type = symbols_[symbol].type;
    return type >= 0 && type <= Code;
}

bool Checker::ParseSignature(FunctionInfo &f)
{
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::FunctionName))
        return false;
    f.symbol = name.symbol;
    f.at = Position { source_, name.line };
    CheckDeclaredName(name);
    if (!Expect(Tok::Takes, M::Want::Takes))
        return false;
    if (!Accept(Tok::Nothing)) {
        for (;;) {
            const Token typeTok = tok_;
            if (!Expect(Tok::Name, M::Want::ParameterType))
                return false;
            const Token paramTok = tok_;
            if (!Expect(Tok::Name, M::Want::ParameterName))
                return false;
            int type = symbols_[typeTok.symbol].type;
            if (type < 0) {
                ReportAt(typeTok, M::NotAType(Name(typeTok.symbol)));
                type = ErrorType;
            }
            CheckDeclaredName(paramTok);
            if (IsPrimitiveName(paramTok.symbol))
                ReportAt(paramTok, M::PrimitiveName(Name(paramTok.symbol)));
            f.types.push_back(type);
            f.typeSymbols.push_back(typeTok.symbol);
            f.names.push_back(paramTok.symbol);
            if (!Accept(Tok::Comma))
                break;
        }
    }
    if (!Expect(Tok::Returns, M::Want::Returns))
        return false;
    const Token ret = tok_;
    if (Accept(Tok::Nothing)) {
        f.returns = NothingType;
    } else if (Expect(Tok::Name, M::Want::ReturnType)) {
        f.returns = symbols_[ret.symbol].type;
        f.returnsSymbol = ret.symbol;
        if (f.returns < 0) {
            ReportAt(ret, M::NotAType(Name(ret.symbol)));
            f.returns = ErrorType;
        }
    } else {
        return false;
    }
    return true;
}

// Declares a native or function after its header; false when the name is taken.
bool Checker::DeclareFunction(FunctionInfo &f, const Token &name)
{
    // A header with a syntax error says nothing reliable about calls or returns.
    if (f.broken)
        f.returns = ErrorType;
    Symbol &s = symbols_[f.symbol];
    if (s.function >= 0) {
        ReportAt(name, M::Redeclared(Name(f.symbol), Where(functions_[size_t(s.function)].at)));
        return false;
    }
    s.function = int(functions_.size());
    if (keep_) {
        Function declared { Name(f.symbol), {}, WrittenType(f.returns, f.returnsSymbol), f.isConstant,
            f.isNative, f.at };
        for (size_t i = 0; i < f.types.size(); ++i)
            declared.parameters.append(
                Variable { WrittenType(f.types[i], f.typeSymbols[i]), Name(f.names[i]), false, false, f.at });
        result_.declared.functions.append(declared);
    }
    functions_.push_back(f);
    return true;
}

void Checker::ParseNative(bool isConstant)
{
    Advance();
    FunctionInfo f;
    f.isConstant = isConstant;
    f.isNative = true;
    Token name = tok_;
    // Declared even after a syntax error in its parameters, so calls to it do not pile up.
    if (!ParseSignature(f))
        f.broken = true;
    if (f.symbol >= 0)
        DeclareFunction(f, name);
    EndLine();
}

void Checker::ParseFunction(bool isConstant)
{
    functionsSeen_ = true;
    const Token start = tok_;
    Advance();
    FunctionInfo f;
    f.isConstant = isConstant;
    const Token name = tok_;
    if (!ParseSignature(f))
        f.broken = true;
    if (f.symbol >= 0)
        DeclareFunction(f, name);
    EndLine();

    if (f.broken)
        f.returns = ErrorType;
    current_ = std::move(f);
    inFunction_ = true;
    ++epoch_;
    locals_.clear();
    Scope scope;
    scope.source = source_;
    scope.firstLine = start.line;
    if (keep_) {
        scope.function = Name(current_.symbol);
        scope_ = &scope;
    }
    for (size_t i = 0; i < current_.names.size(); ++i) {
        Symbol &s = symbols_[current_.names[i]];
        s.localOwner = epoch_;
        s.local = int(locals_.size());
        locals_.push_back(LocalInfo { current_.names[i], current_.types[i], false, true, true, start.line });
        if (keep_)
            scope.parameters.append(Variable { WrittenType(current_.types[i], current_.typeSymbols[i]),
                Name(current_.names[i]), false, false, { source_, start.line } });
    }
    blocks_.clear();
    blocks_.push_back(Block { Tok::Function, start.line });
    blocksBroken_ = false;
    ParseLocals();
    bool ends = ParseBlock();
    for (;;) {
        if (tok_.kind == Tok::Endfunction) {
            // After a block went wrong, which paths reach the end is a guess.
            if (!ends && !blocksBroken_ && current_.returns != NothingType && current_.returns != ErrorType)
                ReportAt(tok_, M::MissingReturn(Name(current_.symbol), TypeName(current_.returns)));
            scope.lastLine = tok_.line;
            Advance();
            EndLine();
            break;
        }
        if (IsBoundary(tok_.kind)) {
            ReportAt(tok_, M::MissingEndfunction(Name(current_.symbol), start.line));
            scope.lastLine = tok_.kind == Tok::End ? tok_.line : tok_.line - 1;
            break;
        }
        Stray();
        ends = ParseBlock();
    }
    blocks_.clear();
    scope_ = nullptr;
    inFunction_ = false;
    ++epoch_;
    if (keep_)
        result_.scopes.append(scope);
}

bool Checker::IsBoundary(Tok kind) const
{
    switch (kind) {
    case Tok::End:
    case Tok::Function:
    case Tok::Native:
    case Tok::Type:
    case Tok::Globals:
    case Tok::Constant:
        return true;
    default:
        return false;
    }
}

// Whether a block outside the innermost one ends at `closer`, so the innermost
// one lacks its own closer.
bool Checker::Encloses(Tok closer) const
{
    for (size_t i = blocks_.size() - 1; i-- > 0;) {
        const Tok opener = blocks_[i].opener;
        if ((closer == Tok::Endfunction && opener == Tok::Function)
            || (closer == Tok::Endloop && opener == Tok::Loop)
            || ((closer == Tok::Endif || closer == Tok::Else || closer == Tok::Elseif) && opener == Tok::If))
            return true;
    }
    return false;
}

// A closer that matches no open block: reported, and its line skipped.
void Checker::Stray()
{
    const Tok k = tok_.kind;
    const char *opener = k == Tok::Endglobals ? "globals"
        : k == Tok::Endfunction               ? "function"
        : k == Tok::Endloop                   ? "loop"
                                              : "if";
    ReportAt(tok_, M::Without(Name(tok_.symbol), QString::fromLatin1(opener)));
    blocksBroken_ = true;
    lex_->SkipLine();
    Advance();
    EndLine();
}

bool Checker::ParseBlock()
{
    bool ends = false;
    for (;;) {
        switch (tok_.kind) {
        case Tok::Newline:
            Advance();
            break;
        case Tok::Local:
            // vJASS: locals may follow a 'static if' that opens the body.
            if (!vjass_ || statementsSeen_)
                ReportAt(tok_, M::LocalAfterStatements());
            Advance();
            ParseVariable(true, false);
            break;
        case Tok::End:
        case Tok::Function:
        case Tok::Native:
        case Tok::Type:
        case Tok::Globals:
        case Tok::Constant:
        case Tok::Endglobals:
        case Tok::Endfunction:
        case Tok::Endif:
        case Tok::Else:
        case Tok::Elseif:
        case Tok::Endloop:
            return ends;
        default:
            if (ParseStatement())
                ends = true;
            break;
        }
    }
}

bool Checker::AloneOnLine(const Token &t) const
{
    const QByteArray &text = text_ ? *text_ : (*sources_)[source_].text;
    qsizetype i = t.begin + t.length;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    return i >= text.size() || text[i] == '\n' || text[i] == '\r'
        || (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/');
}

std::string_view Checker::KeywordText(Tok closer)
{
    switch (closer) {
    case Tok::Endif:
        return "endif";
    case Tok::Endloop:
        return "endloop";
    case Tok::Endfunction:
        return "endfunction";
    default:
        return "else";
    }
}

// The closer a word is a slip of the keyboard for: at most two letters off.
Tok Checker::CloserLike(std::string_view word)
{
    if (word.size() < 4 || word.size() > 14)
        return Tok::Name;
    for (const Tok closer : { Tok::Endif, Tok::Endloop, Tok::Endfunction, Tok::Else }) {
        const std::string_view k = KeywordText(closer);
        // Edit distance, one row at a time.
        int row[16];
        for (size_t j = 0; j <= k.size(); ++j)
            row[j] = int(j);
        for (size_t i = 1; i <= word.size(); ++i) {
            int diagonal = row[0];
            row[0] = int(i);
            for (size_t j = 1; j <= k.size(); ++j) {
                const int above = row[j];
                row[j]
                    = std::min({ above + 1, row[j - 1] + 1, diagonal + (word[i - 1] == k[j - 1] ? 0 : 1) });
                diagonal = above;
            }
        }
        if (row[k.size()] <= (k.size() > 5 ? 2 : 1))
            return closer;
    }
    return Tok::Name;
}

bool Checker::ParseStatement()
{
    if (vjass_) {
        if (tok_.kind == Tok::Name && tok_.symbol == words_->staticWord)
            return ParseStaticIfStatement();
        statementsSeen_ = true;
        if (tok_.kind == Tok::Name && tok_.symbol == words_->implement) {
            ParseImplementStatement();
            return false;
        }
        if (tok_.kind == Tok::Set) {
            ParseVjassSet();
            return false;
        }
        if (tok_.kind == Tok::Call) {
            ParseVjassCall();
            return false;
        }
    }
    switch (tok_.kind) {
    case Tok::Set:
        ParseSet();
        return false;
    case Tok::Call: {
        Advance();
        const Token name = tok_;
        if (Expect(Tok::Name, M::Want::FunctionName))
            ParseCall(name, true);
        EndLine();
        return false;
    }
    case Tok::If:
    case Tok::Loop:
        // The function's own block is the first.
        if (blocks_.size() > MaxBlocks) {
            SkipDeepBlock();
            return false;
        }
        return tok_.kind == Tok::If ? ParseIf() : ParseLoop();
    case Tok::Exitwhen:
        ParseExitwhen();
        return false;
    case Tok::Return:
        ParseReturn();
        return true;
    case Tok::Debug:
        Advance();
        if (tok_.kind == Tok::Set || tok_.kind == Tok::Call || tok_.kind == Tok::If || tok_.kind == Tok::Loop)
            return ParseStatement();
        SyntaxError(M::Want::DebugStatement);
        EndLine();
        return false;
    default:
        if (tok_.kind == Tok::Name && AloneOnLine(tok_)) {
            // "endiff" alone on its line closes the block it was meant to close.
            const Tok closer = CloserLike(lex_->Text(tok_));
            if (closer != Tok::Name) {
                ReportAt(tok_, M::Misspelt(Name(tok_.symbol), Name(symbols_.Find(KeywordText(closer)))));
                tok_.kind = closer;
                return false;
            }
        }
        SyntaxError(M::Want::Statement);
        EndLine();
        return false;
    }
}

// A block nested too deep is reported once and passed over up to its closer,
// counting the blocks inside it instead of parsing them.
void Checker::SkipDeepBlock()
{
    ReportAt(tok_, M::BlocksTooDeep(int(MaxBlocks)));
    blocksBroken_ = true;
    for (int open = 0;;) {
        if (tok_.kind == Tok::Debug)
            Advance();
        const Tok k = tok_.kind;
        if (k == Tok::If || k == Tok::Loop)
            ++open;
        else if (k == Tok::Endif || k == Tok::Endloop)
            --open;
        else if (k == Tok::Endfunction || IsBoundary(k))
            return; // the enclosing blocks report what they miss
        if (k != Tok::Newline) {
            lex_->SkipLine();
            Advance();
        }
        EndLine();
        if (open <= 0)
            return;
    }
}

void Checker::ParseSet()
{
    Advance();
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::VariableName))
        return EndLine();
    const VariableRef ref = ParseVariable(name);
    if (!Expect(Tok::Assign, M::Want::Assign))
        return EndLine();
    const Value v = ParseExpression();
    if (!lineFailed_ && ref.found()) {
        if (ref.global >= 0 && globals_[size_t(ref.global)].isConstant)
            ReportAt(name, M::SetConstant(Name(name.symbol)));
        else if (ref.global >= 0 && current_.isConstant)
            ReportAt(name, M::ConstantSetsGlobal(Name(name.symbol)));
        if (!Converts(v.type, ref.type, Use::Assign))
            ReportAt(v, M::Conversion(Describe(v), Name(name.symbol), TypeName(ref.type)));
    }
    if (ref.local >= 0)
        locals_[size_t(ref.local)].assigned = true;
    EndLine();
}

bool Checker::ParseIf()
{
    const Token start = tok_;
    Advance();
    CheckCondition(ParseExpression());
    Expect(Tok::Then, M::Want::Then);
    EndLine();
    blocks_.push_back(Block { Tok::If, start.line });
    bool all = true, hasElse = false;
    bool branch = ParseBlock();
    for (;;) {
        const Tok k = tok_.kind;
        if (k == Tok::Elseif || k == Tok::Else) {
            all = all && branch;
            if (hasElse)
                SyntaxError(M::Want::EndifAfterElse);
            hasElse = hasElse || k == Tok::Else;
            Advance();
            if (k == Tok::Elseif) {
                CheckCondition(ParseExpression());
                Expect(Tok::Then, M::Want::Then);
            }
            EndLine();
            branch = ParseBlock();
        } else if (k == Tok::Endif) {
            Advance();
            EndLine();
            break;
        } else if (IsBoundary(k) || Encloses(k)) {
            ReportAt(tok_, M::Missing(QStringLiteral("endif"), QStringLiteral("if"), start.line));
            blocksBroken_ = true;
            break;
        } else if (k == Tok::Endloop) {
            ReportAt(tok_,
                M::WrongCloser(QStringLiteral("endif"), QStringLiteral("if"), start.line, Name(tok_.symbol)));
            Advance();
            EndLine();
            break;
        } else {
            Stray();
            branch = ParseBlock() || branch;
        }
    }
    blocks_.pop_back();
    return hasElse && all && branch;
}

bool Checker::ParseLoop()
{
    const Token start = tok_;
    Advance();
    EndLine();
    blocks_.push_back(Block { Tok::Loop, start.line });
    for (;;) {
        ParseBlock();
        const Tok k = tok_.kind;
        if (k == Tok::Endloop) {
            Advance();
            EndLine();
            break;
        }
        if (IsBoundary(k) || Encloses(k)) {
            ReportAt(tok_, M::Missing(QStringLiteral("endloop"), QStringLiteral("loop"), start.line));
            blocksBroken_ = true;
            break;
        }
        if (k == Tok::Endif) {
            ReportAt(tok_,
                M::WrongCloser(
                    QStringLiteral("endloop"), QStringLiteral("loop"), start.line, Name(tok_.symbol)));
            Advance();
            EndLine();
            break;
        }
        Stray();
    }
    const bool exits = blocks_.back().exits;
    blocks_.pop_back();
    // A loop without 'exitwhen' never lets the function reach what follows.
    return !exits;
}

void Checker::ParseExitwhen()
{
    const Token start = tok_;
    Advance();
    Block *loop = nullptr;
    for (size_t i = blocks_.size(); i-- > 0 && !loop;) {
        if (blocks_[i].opener == Tok::Loop)
            loop = &blocks_[i];
    }
    if (loop)
        loop->exits = true;
    else
        ReportAt(start, M::ExitwhenOutsideLoop());
    CheckCondition(ParseExpression());
    EndLine();
}

// The locals at the top of a body, and the blank lines between them.
void Checker::ParseLocals()
{
    for (;;) {
        if (tok_.kind == Tok::Newline) {
            Advance();
        } else if (tok_.kind == Tok::Local) {
            Advance();
            ParseVariable(true, false);
        } else {
            break;
        }
    }
}

void Checker::ParseReturn()
{
    const Token start = tok_;
    Advance();
    const int returns = current_.returns;
    if (AtLineEnd()) {
        if (returns != NothingType && returns != ErrorType)
            ReportAt(start, M::ReturnNeedsValue(Name(current_.symbol), TypeName(returns)));
    } else {
        const Value v = ParseExpression();
        if (!lineFailed_) {
            if (returns == NothingType)
                ReportAt(v, M::ReturnNoValue(Name(current_.symbol)));
            // An integer value may stand for a returned real, an integer literal may not.
            // JassHelper passes 'return null' from a string function through and the game takes it.
            else if ((!Converts(v.type, returns, Use::Return)
                         && !(vjass_ && v.type == NullType && returns == String))
                || (returns == Real && v.integerLiteral))
                ReportAt(v, M::ReturnType(Name(current_.symbol), TypeName(returns), Describe(v)));
        }
    }
    EndLine();
}

// Expressions

Checker::Value Checker::Start(const Token &t) const
{
    Value v;
    v.begin = t.begin;
    v.end = t.begin + t.length;
    v.line = t.line;
    v.column = t.column;
    return v;
}

void Checker::Finish(Value &v) const
{
    v.end = qMax(v.end, previousEnd_);
}

QString Checker::Describe(const Value &v) const
{
    const QString type = v.object >= 0 ? ObjectName(v.object) : TypeName(v.type);
    if (v.kind == NameValue || v.kind == CallValue)
        return M::Describe(v.kind == NameValue ? M::Origin::Variable : M::Origin::Call, Name(v.symbol), type);
    return M::Describe(M::Origin::Expression, QString(), type);
}

void Checker::CheckCondition(const Value &v)
{
    if (!lineFailed_ && v.type != Boolean && v.type != ErrorType)
        ReportAt(v, M::Condition(Describe(v)));
}

void Checker::CheckIndex(const Value &v)
{
    if (!lineFailed_ && v.type != Integer && v.type != ErrorType)
        ReportAt(v, M::Index(Describe(v)));
}

Checker::Value Checker::ParseExpression()
{
    return ParseBinary(OrLevel);
}

// How tightly a binary operator binds; 0 for a token that is none.
int Checker::Level(Tok kind)
{
    switch (kind) {
    case Tok::Or:
        return OrLevel;
    case Tok::And:
        return AndLevel;
    case Tok::Eq:
    case Tok::Ne:
        return EqualityLevel;
    case Tok::Lt:
    case Tok::Le:
    case Tok::Gt:
    case Tok::Ge:
        return ComparisonLevel;
    case Tok::Plus:
    case Tok::Minus:
        return SumLevel;
    case Tok::Star:
    case Tok::Slash:
    case Tok::Percent:
        return ProductLevel;
    default:
        return 0;
    }
}

// Operators of `level` and tighter, left to right.
Checker::Value Checker::ParseBinary(int level)
{
    if (depth_ >= MaxDepth) {
        TooDeep();
        return Start(tok_);
    }
    ++depth_;
    // 'not' binds looser than a comparison: "not a == b" is "not (a == b)".
    Value l = tok_.kind == Tok::Not && level <= ComparisonLevel ? ParseNot() : ParseUnary();
    for (;;) {
        const int opLevel = Level(tok_.kind);
        if (opLevel == 0 || opLevel < level)
            break;
        const Token op = tok_;
        Advance();
        const Value r = ParseBinary(opLevel + 1);
        l = Combine(op, l, r);
    }
    --depth_;
    return l;
}

Checker::Value Checker::ParseNot()
{
    const Token op = tok_;
    Advance();
    const Value operand = ParseBinary(EqualityLevel);
    Value v = Start(op);
    Finish(v);
    if (!lineFailed_ && operand.type != Boolean && operand.type != ErrorType)
        ReportAt(v, M::OperandType(QStringLiteral("not"), M::Operands::Boolean, TypeName(operand.type)));
    v.type = Boolean;
    return v;
}

// The value of `l op r`, reporting operands the operator does not take.
Checker::Value Checker::Combine(const Token &op, const Value &l, const Value &r)
{
    Value v = l;
    v.kind = OtherValue;
    v.zero = false;
    v.integerLiteral = false;
    Finish(v);
    const int a = l.type, b = r.type;
    const Tok k = op.kind;
    const QString opText = QString::fromLatin1(lex_->Text(op).data(), qsizetype(op.length));
    switch (Level(k)) {
    case OrLevel:
    case AndLevel: {
        const auto ok = [](int t) { return t == Boolean || t == ErrorType; };
        if (!lineFailed_ && (!ok(a) || !ok(b)))
            ReportAt(v, M::OperandTypes(opText, M::Operands::Booleans, TypeName(a), TypeName(b)));
        v.type = Boolean;
        break;
    }
    case EqualityLevel:
    case ComparisonLevel:
        if (lineFailed_) {
        } else if (k == Tok::Eq || k == Tok::Ne) {
            const auto nullable = [this](int t) {
                return t == NullType || t == Integer || t == Real || t == String || t == Code || IsHandle(t);
            };
            const bool ok = a == ErrorType || b == ErrorType || a == b || (IsNumber(a) && IsNumber(b))
                || (a == NullType && nullable(b)) || (b == NullType && nullable(a))
                || (IsHandle(a) && IsHandle(b));
            if (!ok)
                ReportAt(v, M::Comparison(opText, TypeName(a), TypeName(b)));
        } else if (!IsNumber(a) || !IsNumber(b)) {
            ReportAt(v, M::OperandTypes(opText, M::Operands::Numbers, TypeName(a), TypeName(b)));
        }
        v.type = Boolean;
        break;
    default: {
        const auto text = [](int t) { return t == String || t == NullType || t == ErrorType; };
        if (k == Tok::Percent) {
            Report(op.line, op.column, 1, M::OldPatchModulo(), Severity::Warning);
            const auto ok = [](int t) { return t == Integer || t == ErrorType; };
            if (!lineFailed_ && (!ok(a) || !ok(b)))
                ReportAt(v, M::OperandTypes(opText, M::Operands::Integers, TypeName(a), TypeName(b)));
            v.type = a == Integer && b == Integer ? Integer : ErrorType;
        } else if (IsNumber(a) && IsNumber(b)) {
            v.type = a == ErrorType || b == ErrorType ? ErrorType
                                                      : (a == Integer && b == Integer ? Integer : Real);
        } else if (k == Tok::Plus && text(a) && text(b) && (a == String || b == String)) {
            v.type = String;
        } else {
            if (!lineFailed_)
                ReportAt(v,
                    M::OperandTypes(opText,
                        k == Tok::Plus ? M::Operands::NumbersOrStrings : M::Operands::Numbers, TypeName(a),
                        TypeName(b)));
            v.type = ErrorType;
        }
        // vJASS code divides by zero on purpose to end a thread: the game
        // loads it, so there it is a warning.
        if ((k == Tok::Slash || k == Tok::Percent) && r.zero && !lineFailed_)
            Report(r.line, r.column, r.end - r.begin, M::DivisionByZero(),
                vjass_ ? Severity::Warning : Severity::Error);
        break;
    }
    }
    return v;
}

Checker::Value Checker::ParseUnary()
{
    if (depth_ >= MaxDepth) {
        TooDeep();
        return Start(tok_);
    }
    ++depth_;
    const Value v = ParseUnaryAt();
    --depth_;
    return v;
}

Checker::Value Checker::ParseUnaryAt()
{
    if (tok_.kind == Tok::Minus || tok_.kind == Tok::Plus) {
        const Token op = tok_;
        Advance();
        const Value operand = ParseUnary();
        Value v = Start(op);
        Finish(v);
        v.zero = operand.zero;
        v.integerLiteral = operand.integerLiteral;
        v.type = operand.type;
        if (!IsNumber(operand.type)) {
            if (!lineFailed_)
                ReportAt(v,
                    M::OperandType(op.kind == Tok::Minus ? QStringLiteral("-") : QStringLiteral("+"),
                        M::Operands::Number, TypeName(operand.type)));
            v.type = ErrorType;
        }
        return v;
    }
    if (tok_.kind == Tok::Not)
        return ParseNot();
    return ParsePrimary();
}

Checker::Value Checker::ParsePrimary()
{
    Value v = Start(tok_);
    switch (tok_.kind) {
    case Tok::Integer:
    case Tok::Rawcode:
        v.type = Integer;
        break;
    case Tok::Real:
        v.type = Real;
        break;
    case Tok::String:
        v.type = String;
        break;
    case Tok::True:
    case Tok::False:
        v.type = Boolean;
        break;
    case Tok::Null:
        v.type = NullType;
        break;
    case Tok::LParen: {
        Advance();
        const Value inner = ParseExpression();
        Expect(Tok::RParen, M::Want::CloseParen);
        v.type = inner.type;
        v.zero = inner.zero;
        v.integerLiteral = inner.integerLiteral;
        Finish(v);
        return v;
    }
    case Tok::Function:
        return vjass_ ? ParseVjassCodeReference(tok_) : ParseCodeReference(tok_);
    case Tok::Dot:
        if (vjass_)
            return ParseVjassPrimary();
        SyntaxError(M::Want::Value);
        return v;
    case Tok::Name: {
        if (vjass_)
            return ParseVjassPrimary();
        const Token name = tok_;
        Advance();
        return tok_.kind == Tok::LParen ? ParseCall(name, false) : ParseVariableRead(name);
    }
    default:
        SyntaxError(M::Want::Value);
        return v;
    }
    v.zero = tok_.zero && tok_.kind != Tok::Rawcode;
    v.integerLiteral = tok_.kind == Tok::Integer || tok_.kind == Tok::Rawcode;
    Advance();
    return v;
}

Checker::VariableRef Checker::ParseVariable(const Token &name)
{
    VariableRef ref;
    const Symbol &s = symbols_[name.symbol];
    bool isArray = false;
    if (s.localOwner == epoch_ && s.local >= 0) {
        ref.local = s.local;
        ref.type = locals_[size_t(s.local)].type;
        isArray = locals_[size_t(s.local)].isArray;
    } else if (s.global >= 0) {
        ref.global = s.global;
        ref.type = globals_[size_t(s.global)].type;
        isArray = globals_[size_t(s.global)].isArray;
    } else if (s.function >= 0 || s.type >= 0) {
        ReportAt(name, M::NotAVariable(Name(name.symbol), s.function < 0));
    } else {
        ReportUndeclared(name);
    }
    if (Accept(Tok::LBracket)) {
        const Value index = ParseExpression();
        CheckIndex(index);
        Expect(Tok::RBracket, M::Want::CloseBracket);
        if (ref.found() && !isArray) {
            ReportAt(name, M::NotAnArray(Name(name.symbol)));
            ref.indexed = false;
        }
    } else if (ref.found() && isArray) {
        ReportAt(name, M::NeedsIndex(Name(name.symbol)));
        ref.indexed = false;
    }
    return ref;
}

Checker::Value Checker::ParseVariableRead(const Token &name)
{
    Value v = Start(name);
    v.kind = NameValue;
    v.symbol = name.symbol;
    const VariableRef ref = ParseVariable(name);
    v.type = ref.indexed ? ref.type : ErrorType;
    // Reported once per variable: the first read is the mistake.
    if (ref.local >= 0) {
        LocalInfo &local = locals_[size_t(ref.local)];
        if (!local.isArray && !local.assigned) {
            ReportAt(name, M::Uninitialised(Name(name.symbol)));
            local.assigned = true;
        }
    }
    if (ref.global >= 0 && inGlobals_) {
        GlobalInfo &global = globals_[size_t(ref.global)];
        if (!global.isArray && !global.initialised) {
            ReportAt(name, M::Uninitialised(Name(name.symbol)));
            global.initialised = true;
        }
    }
    Finish(v);
    return v;
}

Checker::Value Checker::ParseCall(const Token &name, bool statement)
{
    Value v = Start(name);
    v.kind = CallValue;
    v.symbol = name.symbol;
    const Symbol &s = symbols_[name.symbol];
    const FunctionInfo *f = s.function >= 0 ? &functions_[size_t(s.function)] : nullptr;
    if (!f) {
        if ((s.localOwner == epoch_ && s.local >= 0) || s.global >= 0)
            ReportAt(name, M::NotAFunction(Name(name.symbol)));
        else if (!vjass_ || s.placeholder < 0)
            ReportUndeclared(name);
    }
    return ParseArguments(f, name, v, statement);
}

// The arguments of a call to `f` (none when it is not known), checked.
Checker::Value Checker::ParseArguments(const FunctionInfo *f, const Token &name, Value v, bool statement)
{
    if (!Expect(Tok::LParen, M::Want::OpenParen)) {
        Finish(v);
        return v;
    }
    // Arguments of nested calls share one stack, so a call allocates nothing.
    const size_t base = args_.size();
    if (!Accept(Tok::RParen)) {
        for (;;) {
            const Value arg = ParseExpression();
            args_.push_back(arg);
            if (Accept(Tok::Comma))
                continue;
            Expect(Tok::RParen, M::Want::CommaOrParen);
            break;
        }
    }
    const Value *args = args_.data() + base;
    const size_t count = args_.size() - base;
    Finish(v);
    bool wrong = false; // a wrong call has no trustworthy value
    if (f && !f->broken && !lineFailed_) {
        const auto parameter
            = [this, f](size_t i) { return TypeName(f->types[i]) + QLatin1Char(' ') + Name(f->names[i]); };
        if (count > MaxArguments) {
            ReportAt(v, M::TooManyArguments(int(MaxArguments), int(count)));
            wrong = true;
        } else if (count != f->types.size()) {
            QStringList parameters;
            for (size_t i = 0; i < f->types.size(); ++i)
                parameters.append(parameter(i));
            ReportAt(v, M::ArgumentCount(Name(f->symbol), parameters, int(count)));
            wrong = true;
        } else {
            for (size_t i = 0; i < count; ++i) {
                if (!Converts(args[i].type, f->types[i], Use::Assign)) {
                    ReportAt(args[i],
                        M::ArgumentType(Name(f->symbol), int(i + 1), parameter(i), Describe(args[i])));
                    wrong = true;
                }
            }
        }
        if (inFunction_ && current_.isConstant && !f->isConstant)
            ReportAt(name, M::ConstantCallsFunction(Name(f->symbol)));
        if (inGlobals_) {
            for (const char *crasher : GlobalsCrashers) {
                if (symbols_[name.symbol].name == crasher)
                    ReportAt(name, M::GlobalsCrash(Name(f->symbol)));
            }
        }
    }
    args_.resize(base);
    v.type = f && !wrong ? f->returns : ErrorType;
    v.object = f && !wrong ? f->returnsObject : -1;
    if (!statement && v.type == NothingType) {
        if (!lineFailed_)
            ReportAt(v, M::NoValue(Name(name.symbol)));
        v.type = ErrorType;
    }
    return v;
}

Checker::Value Checker::ParseCodeReference(const Token &start)
{
    Value v = Start(start);
    Advance();
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::FunctionName))
        return v;
    const Symbol &s = symbols_[name.symbol];
    if (s.function < 0) {
        if ((s.localOwner == epoch_ && s.local >= 0) || s.global >= 0)
            ReportAt(name, M::NotAFunction(Name(name.symbol)));
        else
            ReportUndeclared(name);
    } else {
        const FunctionInfo &f = functions_[size_t(s.function)];
        if (f.isNative)
            ReportAt(name, M::CodeOfNative(Name(name.symbol)));
        else if (!f.types.empty())
            ReportAt(name, M::CodeTakesArguments(Name(name.symbol), int(f.types.size())));
    }
    Finish(v);
    v.type = Code;
    return v;
}

} // namespace Analysis
