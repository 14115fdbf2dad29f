#pragma once

#include "Analysis.h"
#include "Lexer.h"
#include "Messages.h"

#include <deque>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

// Parses and checks sources statement by statement: no syntax tree is kept,
// only the declarations and, while in a function, its locals and open blocks.
namespace Analysis {

class Checker {
public:
    Checker(const Api &api, Result &result, bool keepDeclarations);
    void Run(const QList<Source> &sources);

private:
    static constexpr int ErrorType = -1; // unknown: accepted everywhere, so one mistake makes one message
    static constexpr int NullType = -2;
    static constexpr int NothingType = -3;
    enum Primitive { Integer, Real, Boolean, String, Handle, Code };
    enum class Use { Assign, Return };
    enum ValueKind { NameValue, CallValue, OtherValue };

    struct TypeInfo {
        int symbol;
        int parent;
        Position at;
    };
    struct FunctionInfo {
        int symbol = -1;
        std::vector<int> types;
        std::vector<int> names;
        std::vector<int> typeSymbols; // as written, for a type that is not known
        int returnsSymbol = -1;
        int returns = NothingType;
        bool isConstant = false;
        bool isNative = false;
        bool broken = false; // its header has a syntax error
        Position at;
    };
    struct GlobalInfo {
        int symbol;
        int type;
        bool isArray;
        bool isConstant;
        bool initialised;
        Position at;
    };
    struct LocalInfo {
        int symbol;
        int type;
        bool isArray;
        bool assigned;
        bool isParameter;
        int line;
    };
    struct Value {
        int type = ErrorType;
        ValueKind kind = OtherValue;
        int symbol = -1;
        int begin = 0;
        int end = 0;
        int line = 0;
        int column = 0;
        bool zero = false;
        bool integerLiteral = false; // a literal integer, signed or in parentheses
    };
    // A variable named where it is set or read, after its name and index
    // are checked: its declaration (none when it has none) and its type.
    struct VariableRef {
        int local = -1; // in locals_
        int global = -1; // in globals_
        int type = ErrorType;
        bool indexed = true; // indexed exactly when it is an array
        bool found() const { return local >= 0 || global >= 0; }
    };
    struct Block {
        Tok opener;
        int line;
        bool exits = false; // a loop that an 'exitwhen' leaves
    };

    // Declarations
    void DeclareApi(const Api &api);
    int InternOwned(const QString &name);
    int TypeOf(const QString &name);
    QString Name(int symbol) const;
    QString TypeName(int type) const;
    QString WrittenType(int type, int symbol) const;
    QString Where(const Position &at) const;
    bool IsHandle(int type) const;
    bool IsPrimitiveName(int symbol) const;
    bool Extends(int type, int ancestor) const;

    // Diagnostics
    void Report(
        int line, int column, int length, const QString &message, Severity severity = Severity::Error);
    void ReportAt(const Token &t, const QString &message);
    void ReportAt(const Value &v, const QString &message);
    void LexProblem(int line, int column, int length, int kind, int value);
    QString Found() const;
    void SyntaxError(Messages::Want expected);
    void TooDeep();
    void CheckDeclaredName(const Token &name);
    void ReportUndeclared(const Token &name);

    // Tokens
    void Advance();
    bool Accept(Tok kind);
    bool Expect(Tok kind, Messages::Want what);
    void EndLine();
    bool AtLineEnd() const { return tok_.kind == Tok::Newline || tok_.kind == Tok::End; }

    // Top level
    void NoteFunctions(int source, const QByteArray &text);
    void ParseSource();
    void ParseTypeDeclaration();
    void ParseGlobals();
    void ParseVariable(bool isLocal, bool isConstant);
    bool ParseSignature(FunctionInfo &f);
    bool DeclareFunction(FunctionInfo &f, const Token &name);
    void ParseNative(bool isConstant);
    void ParseFunction(bool isConstant);

    // Statements; each returns whether no path goes on past it.
    bool ParseBlock();
    bool CloseBlock(Tok closer);
    bool IsBoundary(Tok kind) const;
    bool Encloses(Tok closer) const;
    void Stray();
    bool ParseStatement();
    void SkipDeepBlock();
    bool AloneOnLine(const Token &t) const;
    static std::string_view KeywordText(Tok closer);
    static Tok CloserLike(std::string_view word);
    void ParseSet();
    bool ParseIf();
    bool ParseLoop();
    void ParseExitwhen();
    void ParseReturn();

    // Expressions
    enum Levels { OrLevel = 1, AndLevel, EqualityLevel, ComparisonLevel, SumLevel, ProductLevel };
    static int Level(Tok kind);
    Value ParseExpression();
    Value ParseBinary(int level);
    Value ParseNot();
    Value Combine(const Token &op, const Value &l, const Value &r);
    Value ParseUnary();
    Value ParseUnaryAt();
    Value ParsePrimary();
    Value ParseCall(const Token &name, bool statement);
    Value ParseCodeReference(const Token &start);
    VariableRef ParseVariable(const Token &name);
    Value ParseVariableRead(const Token &name);
    Value Start(const Token &t) const;
    void Finish(Value &v) const;
    QString Describe(const Value &v) const;
    bool Converts(int from, int to, Use use) const;
    void CheckCondition(const Value &v);
    void CheckIndex(const Value &v);
    bool IsNumber(int type) const { return type == Integer || type == Real || type == ErrorType; }

    const Api &api_;
    Result &result_;
    const bool keep_;
    SymbolTable symbols_;
    std::deque<QByteArray> owned_; // names that do not live in a source
    mutable std::vector<QString> names_;
    std::vector<TypeInfo> types_;
    std::vector<FunctionInfo> functions_;
    std::vector<GlobalInfo> globals_;
    std::vector<LocalInfo> locals_;
    std::vector<Block> blocks_;
    std::vector<Value> args_;
    std::optional<std::unordered_map<std::string_view, Position>> laterFunctions_;

    const QList<Source> *sources_ = nullptr;
    int source_ = 0;
    Lexer *lex_ = nullptr;
    Token tok_;
    int previousEnd_ = 0; // end offset of the token before tok_
    bool lineFailed_ = false;
    bool inGlobals_ = false;
    bool functionsSeen_ = false;
    FunctionInfo current_; // the function being checked
    bool inFunction_ = false;
    bool blocksBroken_ = false; // a block of this function lacked or mismatched its closer
    int epoch_ = 0;
    int depth_ = 0; // of expressions being parsed
    Scope *scope_ = nullptr;
};

} // namespace Analysis
