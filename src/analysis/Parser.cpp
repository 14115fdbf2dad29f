#include "Parser.h"

namespace Analysis {

namespace M = Messages;

namespace {

// Deeper nesting is surely not a script, and would exhaust the stack.
constexpr size_t MaxOpen = 256;

} // namespace

VjassWords::VjassWords(SymbolTable &s)
    : library(s.Intern("library"))
    , libraryOnce(s.Intern("library_once"))
    , endlibrary(s.Intern("endlibrary"))
    , scope(s.Intern("scope"))
    , endscope(s.Intern("endscope"))
    , structWord(s.Intern("struct"))
    , endstruct(s.Intern("endstruct"))
    , interface(s.Intern("interface"))
    , endinterface(s.Intern("endinterface"))
    , module(s.Intern("module"))
    , endmodule(s.Intern("endmodule"))
    , method(s.Intern("method"))
    , endmethod(s.Intern("endmethod"))
    , staticWord(s.Intern("static"))
    , privateWord(s.Intern("private"))
    , publicWord(s.Intern("public"))
    , stub(s.Intern("stub"))
    , readonly(s.Intern("readonly"))
    , delegate(s.Intern("delegate"))
    , operatorWord(s.Intern("operator"))
    , implement(s.Intern("implement"))
    , optional(s.Intern("optional"))
    , requiresWord(s.Intern("requires"))
    , needs(s.Intern("needs"))
    , uses(s.Intern("uses"))
    , initializer(s.Intern("initializer"))
    , keyword(s.Intern("keyword"))
    , hook(s.Intern("hook"))
    , defaults(s.Intern("defaults"))
    , thistype(s.Intern("thistype"))
    , thisWord(s.Intern("this"))
    , super(s.Intern("super"))
    , key(s.Intern("key"))
    , index(s.Intern("[]"))
    , indexSet(s.Intern("[]="))
    , staticIndex(s.Intern("static []"))
    , staticIndexSet(s.Intern("static []="))
{
}

Parser::Parser(SymbolTable &symbols, const VjassWords &words, Tree &tree, Report report, LexReport lexReport)
    : symbols_(symbols)
    , w_(words)
    , tree_(tree)
    , report_(std::move(report))
    , lexReport_(std::move(lexReport))
{
}

void Parser::Parse(int source, const QByteArray &text)
{
    source_ = source;
    Lexer lexer(text.constData(), int(text.size()), symbols_,
        [this](int line, int column, int length, int kind, int value) {
            if (!inBody_)
                lexReport_(line, column, length, kind, value);
        });
    lexer.SetVjass(true);
    lex_ = &lexer;
    tok_ = Token();
    lineFailed_ = false;
    inBody_ = false;
    open_.clear();
    Advance();
    ParseBlock(-1, Context::Top);
    lex_ = nullptr;
}

// Tokens

void Parser::Advance()
{
    tok_ = lex_->Next();
    if (tok_.kind == Tok::Bad)
        lineFailed_ = true;
}

bool Parser::Accept(Tok kind)
{
    if (tok_.kind != kind)
        return false;
    Advance();
    return true;
}

void Parser::SkipLine()
{
    while (!AtLineEnd())
        Advance();
}

void Parser::EndLine()
{
    if (!AtLineEnd()) {
        Expected(M::Want::EndOfLine);
        SkipLine();
    }
    lineFailed_ = false;
    if (tok_.kind == Tok::Newline)
        Advance();
}

void Parser::Error(const Token &at, const QString &message)
{
    if (lineFailed_)
        return;
    report_(source_, at, message);
    lineFailed_ = true;
}

void Parser::Expected(M::Want want)
{
    QString found;
    if (tok_.kind == Tok::Newline)
        found = M::FoundEndOfLine();
    else if (tok_.kind == Tok::End)
        found = M::FoundEndOfFile();
    else {
        const std::string_view t = lex_->Text(tok_);
        found = M::FoundToken(QString::fromUtf8(t.data(), qsizetype(qMin<size_t>(t.size(), 40))));
    }
    Error(tok_, M::Expected(want, found));
}

int Parser::Add(Node node, int parent)
{
    node.source = source_;
    node.parent = parent;
    const int index = int(tree_.nodes.size());
    tree_.nodes.push_back(std::move(node));
    if (parent >= 0)
        tree_.nodes[size_t(parent)].children.push_back(index);
    else
        tree_.roots.push_back(index);
    return index;
}

// From the current token to the end of its line.
TokenRange Parser::RestOfLine()
{
    TokenRange r;
    r.begin = tok_.begin;
    r.line = tok_.line;
    r.lineStart = tok_.begin - tok_.column + 1;
    SkipLine();
    r.end = tok_.begin;
    return r;
}

// Blocks

bool Parser::IsCloser(const Token &t) const
{
    if (t.kind == Tok::Endfunction || t.kind == Tok::Endglobals || t.kind == Tok::Endif || t.kind == Tok::Else
        || t.kind == Tok::Elseif)
        return true;
    if (t.kind != Tok::Name)
        return false;
    const int s = t.symbol;
    return s == w_.endlibrary || s == w_.endscope || s == w_.endstruct || s == w_.endinterface
        || s == w_.endmodule || s == w_.endmethod;
}

// Parses the lines of a block until a closer; returns at the closer without
// taking it, or at the end of the source.
void Parser::ParseBlock(int parent, Context context)
{
    for (;;) {
        if (tok_.kind == Tok::Newline) {
            Advance();
            continue;
        }
        if (tok_.kind == Tok::End)
            return;
        // The preprocessor leaves debug lines out; one a comment joined to another line is read as it is.
        if (tok_.kind == Tok::Debug)
            Advance();
        if (context == Context::Module && statementDepth_ > 0
            && (tok_.kind == Tok::Endif || tok_.kind == Tok::Else || tok_.kind == Tok::Elseif)) {
            statementDepth_ -= tok_.kind == Tok::Endif ? 1 : 0;
            SkipLine();
            EndLine();
            continue;
        }
        if (IsCloser(tok_)) {
            // Which open block it closes, if any.
            bool known = false;
            for (int open : open_) {
                const Node &n = tree_.nodes[size_t(open)];
                const Tok k = tok_.kind;
                const int s = tok_.symbol;
                if ((n.kind == NodeKind::Library && s == w_.endlibrary)
                    || (n.kind == NodeKind::Scope && s == w_.endscope)
                    || (n.kind == NodeKind::Struct && s == w_.endstruct)
                    || (n.kind == NodeKind::Interface && s == w_.endinterface)
                    || (n.kind == NodeKind::Module && s == w_.endmodule)
                    || (n.kind == NodeKind::StaticIf
                        && (k == Tok::Endif || k == Tok::Else || k == Tok::Elseif)))
                    known = true;
            }
            if (known)
                return;
            const Token stray = tok_;
            const std::string_view word = lex_->Text(stray);
            const QString closer = QString::fromLatin1(word.data(), qsizetype(word.size()));
            QString opener = closer.mid(3);
            if (stray.kind == Tok::Else || stray.kind == Tok::Elseif)
                opener = QStringLiteral("if");
            Error(stray, M::Without(closer, opener));
            SkipLine();
            EndLine();
            continue;
        }
        ParseLine(parent, context);
    }
}

// Takes the closer of `node` if it is there; otherwise reports it missing
// and leaves the token to an outer block.
bool Parser::CloseBlock(int node, int closerWord)
{
    open_.pop_back();
    Node &n = tree_.nodes[size_t(node)];
    if (tok_.kind == Tok::Name && tok_.symbol == closerWord) {
        n.closer = tok_;
        n.lastLine = tok_.line;
        Advance();
        n.end = tok_.begin;
        EndLine();
        return true;
    }
    n.flags |= Unclosed;
    n.lastLine = tok_.kind == Tok::End ? tok_.line : qMax(n.firstLine, tok_.line - 1);
    n.end = tok_.begin;
    const std::string_view closer = symbols_[closerWord].name;
    const std::string_view opener = lex_->Text(n.keyword);
    lineFailed_ = false;
    Error(tok_,
        M::Missing(QString::fromLatin1(closer.data(), qsizetype(closer.size())),
            QString::fromLatin1(opener.data(), qsizetype(opener.size())), n.firstLine));
    lineFailed_ = false;
    return false;
}

bool Parser::ParseLine(int parent, Context context)
{
    const Token first = tok_;
    std::uint32_t flags = 0;
    for (;;) {
        std::uint32_t flag = 0;
        if (tok_.kind == Tok::Constant)
            flag = Constant;
        else if (Is(w_.privateWord))
            flag = Private;
        else if (Is(w_.publicWord))
            flag = Public;
        else if (Is(w_.staticWord))
            flag = Static;
        else if (Is(w_.stub))
            flag = Stub;
        else if (Is(w_.readonly))
            flag = Readonly;
        else if (Is(w_.delegate))
            flag = Delegate;
        if (!flag)
            break;
        flags |= flag;
        Advance();
        if (flag == Static && flags == Static && tok_.kind == Tok::If) {
            ParseStaticIf(parent, context, first);
            return true;
        }
    }
    const bool inStruct
        = context == Context::Struct || context == Context::Interface || context == Context::Module;
    if (context == Context::Module && flags == 0) {
        // Statements, for a module implemented inside a body: read there.
        const Tok k = tok_.kind;
        if (k == Tok::Set || k == Tok::Call || k == Tok::If || k == Tok::Loop || k == Tok::Exitwhen
            || k == Tok::Return || k == Tok::Local || k == Tok::Endloop) {
            statementDepth_ += (k == Tok::If || k == Tok::Loop) ? 1 : k == Tok::Endloop ? -1 : 0;
            statementDepth_ = qMax(0, statementDepth_);
            SkipLine();
            EndLine();
            return true;
        }
    }
    const auto notHere = [&](const char *what) {
        static const char *const Names[] = { "", "library", "scope", "struct", "interface", "module" };
        Error(tok_, M::NotInside(QString::fromLatin1(what), QString::fromLatin1(Names[int(context)])));
    };
    switch (tok_.kind) {
    case Tok::Function:
        if (inStruct)
            notHere("function");
        ParseFunction(parent, flags, first);
        return true;
    case Tok::Native:
        if (inStruct)
            notHere("native");
        ParseSimple(parent, NodeKind::Native, flags, first);
        return true;
    case Tok::Globals:
        if (inStruct)
            notHere("globals");
        ParseGlobals(parent, flags);
        return true;
    case Tok::Type:
        if (inStruct)
            notHere("type");
        ParseSimple(parent, NodeKind::Type, flags, first);
        return true;
    case Tok::Name:
        break;
    default:
        Expected(inStruct ? M::Want::Member : M::Want::VjassDeclaration);
        SkipLine();
        EndLine();
        return false;
    }
    const int s = tok_.symbol;
    if (s == w_.library || s == w_.libraryOnce) {
        if (context != Context::Top)
            notHere("library");
        ParseLibrary(parent, flags | (s == w_.libraryOnce ? std::uint32_t(Once) : 0u));
    } else if (s == w_.scope) {
        if (inStruct)
            notHere("scope");
        ParseScope(parent, flags);
    } else if (s == w_.structWord || s == w_.interface || s == w_.module) {
        if (inStruct)
            notHere(s == w_.structWord ? "struct" : s == w_.interface ? "interface" : "module");
        ParseStruct(parent,
            s == w_.structWord      ? NodeKind::Struct
                : s == w_.interface ? NodeKind::Interface
                                    : NodeKind::Module,
            flags);
    } else if (s == w_.method) {
        if (!inStruct)
            notHere("method");
        ParseMethod(parent, context, flags, first);
    } else if (s == w_.implement) {
        if (!inStruct)
            notHere("implement");
        ParseSimple(parent, NodeKind::Implement, flags, first);
    } else if (s == w_.keyword) {
        ParseSimple(parent, NodeKind::Keyword, flags, first);
    } else if (s == w_.hook) {
        ParseSimple(parent, NodeKind::Hook, flags, first);
    } else if (inStruct) {
        ParseVariable(parent, flags, first);
    } else {
        Expected(M::Want::VjassDeclaration);
        SkipLine();
        EndLine();
        return false;
    }
    return true;
}

// "library NAME [initializer F] [requires [optional] A, ...]"
void Parser::ParseLibrary(int parent, std::uint32_t flags)
{
    Node n;
    n.kind = NodeKind::Library;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = tok_.line;
    n.begin = tok_.begin;
    Advance();
    n.name = tok_;
    if (!Accept(Tok::Name)) {
        Expected(M::Want::LibraryName);
        n.flags |= Broken;
    }
    while (!lineFailed_ && !AtLineEnd()) {
        if (Is(w_.initializer)) {
            Advance();
            n.type = tok_;
            if (!Accept(Tok::Name))
                Expected(M::Want::FunctionName);
        } else if (Is(w_.requiresWord) || Is(w_.needs) || Is(w_.uses)) {
            Advance();
            // The commas between the libraries may be left out.
            for (;;) {
                Requirement r;
                if (Is(w_.optional)) {
                    r.optional = true;
                    Advance();
                }
                r.name = tok_;
                if (!Accept(Tok::Name)) {
                    Expected(M::Want::LibraryName);
                    break;
                }
                n.requirements.push_back(r);
                if (!Accept(Tok::Comma) && tok_.kind != Tok::Name)
                    break;
                if (Is(w_.initializer))
                    break;
            }
        } else {
            Expected(M::Want::EndOfLine);
        }
    }
    EndLine();
    const int node = Add(std::move(n), parent);
    if (!Open(node))
        return;
    ParseBlock(node, Context::Library);
    CloseBlock(node, w_.endlibrary);
}

// Opens the block of `node`; false (and one error) when blocks already nest
// as deep as the parser goes.
bool Parser::Open(int node)
{
    if (open_.size() >= MaxOpen) {
        Error(tree_.nodes[size_t(node)].keyword, M::TooDeep(int(MaxOpen)));
        return false;
    }
    open_.push_back(node);
    return true;
}

// "scope NAME [initializer F]"
void Parser::ParseScope(int parent, std::uint32_t flags)
{
    Node n;
    n.kind = NodeKind::Scope;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = tok_.line;
    n.begin = tok_.begin;
    Advance();
    n.name = tok_;
    if (!Accept(Tok::Name)) {
        Expected(M::Want::ScopeName);
        n.flags |= Broken;
    }
    if (Is(w_.initializer)) {
        Advance();
        n.type = tok_;
        if (!Accept(Tok::Name))
            Expected(M::Want::FunctionName);
    }
    EndLine();
    const int node = Add(std::move(n), parent);
    if (!Open(node))
        return;
    ParseBlock(node, Context::Scope);
    CloseBlock(node, w_.endscope);
}

// "struct NAME [[N]] [extends PARENT | extends array [[N]]]", "interface NAME [[N]]", "module NAME"
void Parser::ParseStruct(int parent, NodeKind kind, std::uint32_t flags)
{
    Node n;
    n.kind = kind;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = tok_.line;
    n.begin = tok_.begin;
    Advance();
    n.name = tok_;
    if (!Accept(Tok::Name)) {
        Expected(M::Want::TypeName);
        n.flags |= Broken;
    }
    const auto size = [&](TokenRange &into) {
        if (tok_.kind != Tok::LBracket)
            return;
        Advance();
        into.begin = tok_.begin;
        into.line = tok_.line;
        into.lineStart = tok_.begin - tok_.column + 1;
        while (!AtLineEnd() && tok_.kind != Tok::RBracket)
            Advance();
        into.end = tok_.begin;
        if (!Accept(Tok::RBracket))
            Expected(M::Want::CloseBracket);
    };
    if (kind != NodeKind::Module)
        size(n.size);
    if (kind == NodeKind::Struct && Accept(Tok::Extends)) {
        if (Accept(Tok::Array)) {
            n.flags |= IsArray;
            size(n.size);
        } else {
            n.type = tok_;
            if (!Accept(Tok::Name))
                Expected(M::Want::ParentType);
        }
    }
    EndLine();
    const int node = Add(std::move(n), parent);
    if (!Open(node))
        return;
    Node &opened = tree_.nodes[size_t(node)];
    // A module may hold statements, for an 'implement' inside a body.
    opened.body.begin = tok_.begin - tok_.column + 1;
    opened.body.line = tok_.line;
    opened.body.lineStart = opened.body.begin;
    const int outerDepth = statementDepth_;
    statementDepth_ = 0;
    const Context inner = kind == NodeKind::Struct ? Context::Struct
        : kind == NodeKind::Interface              ? Context::Interface
                                                   : Context::Module;
    ParseBlock(node, inner);
    statementDepth_ = outerDepth;
    tree_.nodes[size_t(node)].body.end = tok_.kind == Tok::End ? tok_.begin : tok_.begin - tok_.column + 1;
    CloseBlock(node,
        kind == NodeKind::Struct          ? w_.endstruct
            : kind == NodeKind::Interface ? w_.endinterface
                                          : w_.endmodule);
}

void Parser::ParseGlobals(int parent, std::uint32_t flags)
{
    Node n;
    n.kind = NodeKind::Globals;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = tok_.line;
    n.begin = tok_.begin;
    Advance();
    EndLine();
    const int node = Add(std::move(n), parent);
    for (;;) {
        if (tok_.kind == Tok::Newline) {
            Advance();
            continue;
        }
        if (tok_.kind == Tok::Debug)
            Advance();
        if (tok_.kind == Tok::Endglobals) {
            Node &g = tree_.nodes[size_t(node)];
            g.closer = tok_;
            g.lastLine = tok_.line;
            Advance();
            g.end = tok_.begin;
            EndLine();
            return;
        }
        // A line that can only begin a declaration ends the block.
        if (tok_.kind == Tok::End || tok_.kind == Tok::Function || tok_.kind == Tok::Native
            || tok_.kind == Tok::Type || tok_.kind == Tok::Globals || IsCloser(tok_)
            || (tok_.kind == Tok::Name
                && (tok_.symbol == w_.library || tok_.symbol == w_.scope || tok_.symbol == w_.structWord
                    || tok_.symbol == w_.method || tok_.symbol == w_.module
                    || tok_.symbol == w_.interface))) {
            Node &g = tree_.nodes[size_t(node)];
            g.flags |= Unclosed;
            g.lastLine = tok_.line;
            g.end = tok_.begin;
            lineFailed_ = false;
            Error(tok_, M::MissingEndglobals(g.firstLine));
            lineFailed_ = false;
            return;
        }
        const Token first = tok_;
        std::uint32_t varFlags = 0;
        for (;;) {
            if (tok_.kind == Tok::Constant)
                varFlags |= Constant;
            else if (Is(w_.privateWord))
                varFlags |= Private;
            else if (Is(w_.publicWord))
                varFlags |= Public;
            else
                break;
            Advance();
        }
        if (tok_.kind == Tok::Function || tok_.kind == Tok::Native) {
            Node &g = tree_.nodes[size_t(node)];
            g.flags |= Unclosed;
            g.lastLine = tok_.line;
            g.end = tok_.begin;
            Error(tok_, M::MissingEndglobals(g.firstLine));
            lineFailed_ = false;
            if (tok_.kind == Tok::Function)
                ParseFunction(parent, varFlags, first);
            else
                ParseSimple(parent, NodeKind::Native, varFlags, first);
            return;
        }
        ParseVariable(node, varFlags, first);
    }
}

// "TYPE [array] NAME [[N]][[M]] [= VALUE]", after the modifiers.
void Parser::ParseVariable(int parent, std::uint32_t flags, const Token &first)
{
    Node n;
    n.kind = NodeKind::Variable;
    n.flags = flags;
    n.keyword = first;
    n.firstLine = first.line;
    n.begin = first.begin;
    n.type = tok_;
    if (!Accept(Tok::Name)) {
        Expected(M::Want::Type);
        SkipLine();
        EndLine();
        return;
    }
    if (Accept(Tok::Array))
        n.flags |= IsArray;
    n.name = tok_;
    if (!Accept(Tok::Name)) {
        Expected(M::Want::VariableName);
        SkipLine();
        EndLine();
        return;
    }
    for (TokenRange *size : { &n.size, &n.size2 }) {
        if (tok_.kind != Tok::LBracket)
            break;
        Advance();
        size->begin = tok_.begin;
        size->line = tok_.line;
        size->lineStart = tok_.begin - tok_.column + 1;
        int depth = 0;
        while (!AtLineEnd() && (tok_.kind != Tok::RBracket || depth > 0)) {
            depth += tok_.kind == Tok::LBracket ? 1 : tok_.kind == Tok::RBracket ? -1 : 0;
            Advance();
        }
        size->end = tok_.begin;
        if (!Accept(Tok::RBracket))
            Expected(M::Want::CloseBracket);
    }
    if (tok_.kind == Tok::Assign) {
        n.keyword = first;
        const Token assign = tok_;
        Advance();
        if (AtLineEnd())
            Expected(M::Want::Value);
        else
            n.value = RestOfLine();
        n.op = assign;
    }
    n.lastLine = tok_.line;
    n.end = tok_.begin;
    EndLine();
    Add(std::move(n), parent);
}

// "NAME takes (nothing | TYPE NAME, ...) returns (nothing | TYPE)", the name
// already taken by the caller. An interface's method may stop after its
// parameters, or carry "defaults VALUE".
bool Parser::ParseSignature(Node &n, bool interfaceMethod)
{
    if (!Accept(Tok::Takes)) {
        if (interfaceMethod && AtLineEnd()) {
            n.flags |= NoSignature;
            return true;
        }
        Expected(M::Want::Takes);
        return false;
    }
    if (!Accept(Tok::Nothing)) {
        for (;;) {
            Parameter p;
            p.type = tok_;
            if (!Accept(Tok::Name)) {
                Expected(M::Want::ParameterType);
                return false;
            }
            p.name = tok_;
            if (!Accept(Tok::Name)) {
                Expected(M::Want::ParameterName);
                return false;
            }
            n.parameters.push_back(p);
            if (!Accept(Tok::Comma))
                break;
        }
    }
    if (interfaceMethod && AtLineEnd()) {
        n.flags |= NoSignature;
        return true;
    }
    if (!Accept(Tok::Returns)) {
        Expected(M::Want::Returns);
        return false;
    }
    if (Accept(Tok::Nothing)) {
        n.returnsNothing = true;
    } else {
        n.type = tok_;
        n.returnsNothing = false;
        if (!Accept(Tok::Name)) {
            Expected(M::Want::ReturnType);
            return false;
        }
    }
    if (interfaceMethod && Is(w_.defaults)) {
        Advance();
        n.flags |= HasDefault;
        if (Accept(Tok::Nothing))
            return true;
        if (AtLineEnd()) {
            Expected(M::Want::Value);
            return false;
        }
        n.value = RestOfLine();
    }
    return true;
}

void Parser::ParseFunction(int parent, std::uint32_t flags, const Token &first)
{
    Node n;
    n.kind = NodeKind::Function;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = first.line;
    n.begin = first.begin;
    Advance();
    if (Is(w_.interface)) {
        Advance();
        n.kind = NodeKind::FunctionInterface;
    }
    n.name = tok_;
    if (!Accept(Tok::Name)) {
        Expected(M::Want::FunctionName);
        n.flags |= Broken;
    } else if (!ParseSignature(n, false)) {
        n.flags |= Broken;
    }
    if (n.kind == NodeKind::FunctionInterface) {
        n.lastLine = tok_.line;
        n.end = tok_.begin;
        EndLine();
        Add(std::move(n), parent);
        return;
    }
    ParseBody(n, -1, Tok::Endfunction);
    Add(std::move(n), parent);
}

// "method [operator OP] NAME takes ... returns ...", then its body; an
// interface's methods have none.
void Parser::ParseMethod(int parent, Context context, std::uint32_t flags, const Token &first)
{
    Node n;
    n.kind = NodeKind::Method;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = first.line;
    n.begin = first.begin;
    Advance();
    // "method []=" works without 'operator' too.
    const bool bare = tok_.kind == Tok::LBracket || tok_.kind == Tok::Lt || tok_.kind == Tok::Eq;
    if (Is(w_.operatorWord) || bare) {
        n.flags |= Operator;
        if (!bare) {
            n.keyword = tok_;
            Advance();
        }
        n.op = tok_;
        if (Accept(Tok::LBracket)) {
            if (!Accept(Tok::RBracket))
                Expected(M::Want::CloseBracket);
            n.setter = Accept(Tok::Assign);
        } else if (Accept(Tok::Lt) || Accept(Tok::Eq) || Accept(Tok::Gt)) {
        } else if (Accept(Tok::Name)) {
            n.setter = Accept(Tok::Assign);
        } else {
            Expected(M::Want::OperatorName);
            n.flags |= Broken;
        }
        n.name = n.op;
    } else {
        // A method may be named like a keyword: the compiler gives it a name of its own.
        n.name = tok_;
        if (tok_.kind == Tok::Name || (tok_.kind >= Tok::Type && tok_.kind <= Tok::Alias)) {
            n.name.kind = Tok::Name;
            Advance();
        } else {
            Expected(M::Want::FunctionName);
            n.flags |= Broken;
        }
    }
    const bool interfaceMethod = context == Context::Interface;
    if (!(n.flags & Broken) && !ParseSignature(n, interfaceMethod))
        n.flags |= Broken;
    if (interfaceMethod) {
        n.lastLine = tok_.line;
        n.end = tok_.begin;
        EndLine();
        Add(std::move(n), parent);
        return;
    }
    ParseBody(n, w_.endmethod, Tok::Name);
    Add(std::move(n), parent);
}

// Skips the body lines up to the closer, keeping their range for the checker.
void Parser::ParseBody(Node &n, int closerWord, Tok closerTok)
{
    if (!(n.flags & Broken) && !AtLineEnd())
        Expected(M::Want::EndOfLine);
    SkipLine();
    lineFailed_ = false;
    inBody_ = true;
    if (tok_.kind == Tok::Newline)
        Advance();
    n.body.begin = tok_.begin - tok_.column + 1;
    n.body.line = tok_.line;
    n.body.lineStart = n.body.begin;
    const auto isCloser = [&](const Token &t) {
        return closerTok == Tok::Name ? (t.kind == Tok::Name && t.symbol == closerWord) : t.kind == closerTok;
    };
    for (;;) {
        while (tok_.kind == Tok::Newline)
            Advance();
        const Token lineFirst = tok_;
        if (tok_.kind == Tok::Debug)
            Advance();
        const int lineStart = lineFirst.begin - lineFirst.column + 1;
        if (isCloser(tok_)) {
            inBody_ = false;
            n.body.end = lineStart;
            n.closer = tok_;
            n.lastLine = tok_.line;
            Advance();
            n.end = tok_.begin;
            EndLine();
            return;
        }
        const Tok k = tok_.kind;
        const int s = k == Tok::Name ? tok_.symbol : -1;
        bool boundary = k == Tok::End || k == Tok::Function || k == Tok::Native || k == Tok::Type
            || k == Tok::Globals || k == Tok::Endglobals || k == Tok::Constant || k == Tok::Endfunction
            || s == w_.endmethod || s == w_.method || s == w_.library || s == w_.libraryOnce
            || s == w_.endlibrary || s == w_.scope || s == w_.endscope || s == w_.structWord
            || s == w_.endstruct || s == w_.interface || s == w_.endinterface || s == w_.module
            || s == w_.endmodule || s == w_.privateWord || s == w_.publicWord || s == w_.keyword
            || s == w_.hook || s == w_.stub || s == w_.delegate || s == w_.readonly;
        if (s == w_.staticWord) {
            Advance();
            boundary = tok_.kind != Tok::If;
        }
        if (boundary) {
            inBody_ = false;
            n.body.end = lineStart;
            n.flags |= Unclosed;
            n.lastLine = qMax(n.firstLine, tok_.kind == Tok::End ? tok_.line : lineFirst.line - 1);
            n.end = lineStart;
            // "endfunction" for a method, "endmethod" for a function: taken as its closer.
            if ((k == Tok::Endfunction && closerTok == Tok::Name)
                || (s == w_.endmethod && closerTok != Tok::Name)) {
                const std::string_view found = lex_->Text(tok_);
                Error(tok_,
                    M::WrongCloser(
                        closerTok == Tok::Name ? QStringLiteral("endmethod") : QStringLiteral("endfunction"),
                        closerTok == Tok::Name ? QStringLiteral("method") : QStringLiteral("function"),
                        n.firstLine, QString::fromLatin1(found.data(), qsizetype(found.size()))));
                n.flags &= ~Unclosed;
                n.closer = tok_;
                n.lastLine = tok_.line;
                Advance();
                n.end = tok_.begin;
                EndLine();
                return;
            }
            const std::string_view name = lex_->Text(n.name);
            lineFailed_ = false;
            Error(tok_.kind == Tok::End ? tok_ : lineFirst,
                closerTok == Tok::Name
                    ? M::Missing(QStringLiteral("endmethod"), QStringLiteral("method"), n.firstLine)
                    : M::MissingEndfunction(
                        QString::fromUtf8(name.data(), qsizetype(name.size())), n.firstLine));
            lineFailed_ = false;
            // The line is read again by the block it belongs to; the end of
            // the text may share the header's line.
            if (tok_.kind != Tok::End && lineStart > n.begin) {
                lex_->Seek(lineStart, lineFirst.line, lineStart);
                Advance();
            }
            return;
        }
        // The checker reads the line; here only its end matters. The lines
        // after it that begin with a word no block ends at go by unread.
        if (tok_.kind == Tok::End)
            continue;
        if (!AtLineEnd())
            lex_->SkipRest();
        tok_ = lex_->Next();
        if (tok_.kind == Tok::Newline) {
            lex_->SkipLines(EndsBody);
            Advance();
        }
    }
}

// The first words of the lines a body may end at, as ParseBody tells them apart.
bool Parser::EndsBody(std::string_view word)
{
    const auto any = [&](std::initializer_list<std::string_view> words) {
        for (const std::string_view w : words) {
            if (w == word)
                return true;
        }
        return false;
    };
    switch (word.size()) {
    case 4:
        return any({ "type", "stub", "hook" });
    case 5:
        return any({ "scope", "debug" });
    case 6:
        return any({ "native", "method", "struct", "module", "public", "static" });
    case 7:
        return any({ "globals", "library", "private", "keyword" });
    case 8:
        return any({ "function", "constant", "endscope", "delegate", "readonly" });
    case 9:
        return any({ "endmethod", "endstruct", "endmodule", "interface" });
    case 10:
        return any({ "endglobals", "endlibrary" });
    case 11:
        return word == "endfunction";
    case 12:
        return any({ "library_once", "endinterface" });
    default:
        return false;
    }
}

// "static if CONDITION then" ... ["else" ...] "endif" among declarations.
void Parser::ParseStaticIf(int parent, Context context, const Token &first)
{
    Node n;
    n.kind = NodeKind::StaticIf;
    n.keyword = first;
    n.firstLine = first.line;
    n.begin = first.begin;
    Advance();
    n.value.begin = tok_.begin;
    n.value.line = tok_.line;
    n.value.lineStart = tok_.begin - tok_.column + 1;
    while (!AtLineEnd() && tok_.kind != Tok::Then)
        Advance();
    n.value.end = tok_.begin;
    if (!Accept(Tok::Then))
        Expected(M::Want::Then);
    EndLine();
    const int node = Add(std::move(n), parent);
    if (!Open(node))
        return;
    ParseBlock(node, context);
    if (tok_.kind == Tok::Elseif) {
        // "elseif C then" is "else static if C then ... endif" sharing this endif.
        tree_.nodes[size_t(node)].elseChild = int(tree_.nodes[size_t(node)].children.size());
        open_.pop_back();
        ParseStaticIf(node, context, tok_);
        Node &s = tree_.nodes[size_t(node)];
        s.lastLine = tree_.nodes[size_t(s.children.back())].lastLine;
        s.end = tree_.nodes[size_t(s.children.back())].end;
        return;
    }
    if (tok_.kind == Tok::Else) {
        tree_.nodes[size_t(node)].elseChild = int(tree_.nodes[size_t(node)].children.size());
        Advance();
        EndLine();
        ParseBlock(node, context);
    }
    open_.pop_back();
    Node &s = tree_.nodes[size_t(node)];
    if (s.elseChild < 0)
        s.elseChild = int(s.children.size());
    if (tok_.kind == Tok::Endif) {
        s.closer = tok_;
        s.lastLine = tok_.line;
        Advance();
        s.end = tok_.begin;
        EndLine();
    } else {
        s.flags |= Unclosed;
        s.lastLine = tok_.line;
        s.end = tok_.begin;
        lineFailed_ = false;
        Error(tok_, M::Missing(QStringLiteral("endif"), QStringLiteral("static if"), s.firstLine));
        lineFailed_ = false;
    }
}

// One-line declarations: "native ...", "type ...", "implement [optional] M",
// "keyword K", "hook NATIVE F" or "hook NATIVE S.method".
void Parser::ParseSimple(int parent, NodeKind kind, std::uint32_t flags, const Token &first)
{
    Node n;
    n.kind = kind;
    n.flags = flags;
    n.keyword = tok_;
    n.firstLine = first.line;
    n.begin = first.begin;
    Advance();
    switch (kind) {
    case NodeKind::Native:
        n.name = tok_;
        if (!Accept(Tok::Name) || !ParseSignature(n, false)) {
            if (n.name.kind != Tok::Name)
                Expected(M::Want::FunctionName);
            n.flags |= Broken;
        }
        break;
    case NodeKind::Type:
        n.name = tok_;
        if (!Accept(Tok::Name)) {
            Expected(M::Want::TypeName);
            n.flags |= Broken;
            break;
        }
        if (!Accept(Tok::Extends)) {
            Expected(M::Want::Extends);
            n.flags |= Broken;
            break;
        }
        n.type = tok_;
        if (!Accept(Tok::Name)) {
            Expected(M::Want::ParentType);
            n.flags |= Broken;
            break;
        }
        if (Accept(Tok::Array)) {
            n.flags |= IsArray;
            if (!Accept(Tok::LBracket)) {
                Expected(M::Want::ArraySize);
                break;
            }
            for (TokenRange *size : { &n.size, &n.size2 }) {
                size->begin = tok_.begin;
                size->line = tok_.line;
                size->lineStart = tok_.begin - tok_.column + 1;
                while (!AtLineEnd() && tok_.kind != Tok::RBracket && tok_.kind != Tok::Comma)
                    Advance();
                size->end = tok_.begin;
                if (!Accept(Tok::Comma))
                    break;
            }
            if (!Accept(Tok::RBracket))
                Expected(M::Want::CloseBracket);
        }
        break;
    case NodeKind::Implement:
        if (Is(w_.optional)) {
            n.flags |= Optional;
            Advance();
        }
        n.name = tok_;
        if (!Accept(Tok::Name))
            Expected(M::Want::ModuleName);
        break;
    case NodeKind::Keyword:
        n.name = tok_;
        if (!Accept(Tok::Name))
            Expected(M::Want::VariableName);
        break;
    default: // Hook
        n.name = tok_;
        if (!Accept(Tok::Name)) {
            Expected(M::Want::FunctionName);
            break;
        }
        n.type = tok_;
        if (!Accept(Tok::Name)) {
            Expected(M::Want::FunctionName);
            break;
        }
        if (Accept(Tok::Dot)) {
            n.op = tok_;
            if (!Accept(Tok::Name))
                Expected(M::Want::FunctionName);
        }
        break;
    }
    n.lastLine = tok_.line;
    n.end = tok_.begin;
    EndLine();
    Add(std::move(n), parent);
}

} // namespace Analysis
