#pragma once

#include "Analysis.h"
#include "Lexer.h"
#include "Messages.h"
#include "Tree.h"

#include <functional>

// Reads the declarations of a preprocessed vJASS source into the tree:
// line by line, each line's first words say what it is. It recovers from a
// missing or wrong closer at the next line that can only belong to an outer
// block, so one mistake gives one message.
namespace Analysis {

// The words vJASS adds, interned once so the parser and the checker compare
// symbols. They are no keywords of the lexer: a plain script may use them as names.
struct VjassWords {
    explicit VjassWords(SymbolTable &symbols);
    int library, libraryOnce, endlibrary, scope, endscope, structWord, endstruct, interface, endinterface;
    int module, endmodule, method, endmethod, staticWord, privateWord, publicWord, stub, readonly, delegate;
    int operatorWord, implement, optional, requiresWord, needs, uses, initializer, keyword, hook, defaults;
    int thistype, thisWord, super, key;
    // The names the index operators are kept under.
    int index, indexSet, staticIndex, staticIndexSet;
};

class Parser {
public:
    using Report = std::function<void(int source, const Token &at, const QString &message)>;

    Parser(SymbolTable &symbols, const VjassWords &words, Tree &tree, Report report, LexReport lexReport);
    // Adds the declarations of one source to the tree; its lexer problems
    // outside bodies go to `lexReport` (the checker sees those inside them).
    void Parse(int source, const QByteArray &text);

private:
    enum class Context { Top, Library, Scope, Struct, Interface, Module };

    void Advance();
    bool Accept(Tok kind);
    bool AtLineEnd() const { return tok_.kind == Tok::Newline || tok_.kind == Tok::End; }
    bool Is(int word) const { return tok_.kind == Tok::Name && tok_.symbol == word; }
    void SkipLine();
    void EndLine();
    void Error(const Token &at, const QString &message);
    void Expected(Messages::Want want);
    int Add(Node node, int parent);
    TokenRange RestOfLine();

    void ParseBlock(int parent, Context context);
    bool Open(int node);
    bool ParseLine(int parent, Context context);
    bool IsCloser(const Token &t) const;
    bool CloseBlock(int node, int closerWord);
    void ParseLibrary(int parent, std::uint32_t flags);
    void ParseScope(int parent, std::uint32_t flags);
    void ParseStruct(int parent, NodeKind kind, std::uint32_t flags);
    void ParseGlobals(int parent, std::uint32_t flags);
    void ParseVariable(int parent, std::uint32_t flags, const Token &first);
    bool ParseSignature(Node &node, bool interfaceMethod);
    void ParseFunction(int parent, std::uint32_t flags, const Token &first);
    void ParseMethod(int parent, Context context, std::uint32_t flags, const Token &first);
    void ParseBody(Node &node, int closerWord, Tok closerTok);
    static bool EndsBody(std::string_view word);
    void ParseStaticIf(int parent, Context context, const Token &first);
    void ParseSimple(int parent, NodeKind kind, std::uint32_t flags, const Token &first);

    SymbolTable &symbols_;
    const VjassWords &w_;
    Tree &tree_;
    Report report_;
    LexReport lexReport_;
    Lexer *lex_ = nullptr;
    Token tok_;
    int source_ = 0;
    bool lineFailed_ = false;
    bool inBody_ = false;
    int statementDepth_ = 0; // of 'if' and 'loop' among a module's statements
    std::vector<int> open_; // the nodes whose closer is awaited, outermost first
};

} // namespace Analysis
