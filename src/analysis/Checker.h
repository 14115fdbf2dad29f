#pragma once

#include "Analysis.h"
#include "Lexer.h"
#include "Messages.h"
#include "Parser.h"
#include "Preprocessor.h"
#include "Tree.h"

#include <deque>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Parses and checks sources statement by statement: no syntax tree is kept,
// only the declarations and, while in a function, its locals and open blocks.
// A vJASS program is first preprocessed and parsed into the declaration tree;
// its declarations are collected from the tree, and the same statement and
// expression checks then read each body (CheckerVjass.cpp, CheckerMembers.cpp).
namespace Analysis {

class Checker {
public:
    Checker(const Api &api, Result &result, bool keepDeclarations);
    void Run(const QList<Source> &sources);
    void RunVjass(const QList<Source> &sources, const FileReader &read, int prelude);

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
        int object = -1; // vJASS: the struct, interface... it names (its values are integers)
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
        std::vector<int> objects; // vJASS: the object type of each parameter, -1 for none
        int returnsObject = -1;
    };
    struct GlobalInfo {
        int symbol;
        int type;
        bool isArray;
        bool isConstant;
        bool initialised;
        Position at;
        int object = -1;
        bool twoD = false; // vJASS: "integer array a[W][H]" takes two indexes
    };
    struct LocalInfo {
        int symbol;
        int type;
        bool isArray;
        bool assigned;
        bool isParameter;
        int line;
        int object = -1;
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
        int object = -1; // vJASS: the struct, interface... an integer value stands for
    };
    // A variable named where it is set or read, after its name and index
    // are checked: its declaration (none when it has none) and its type.
    struct VariableRef {
        int local = -1; // in locals_
        int global = -1; // in globals_
        int type = ErrorType;
        bool indexed = true; // indexed exactly when it is an array
        int object = -1;
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
    void ParseLocals();
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

    // vJASS: the program model (CheckerVjass.cpp)
    enum class ObjectKind : std::uint8_t { Struct, Interface, Module, DynamicArray, FunctionInterface, Key };
    enum class MemberKind : std::uint8_t { Field, Method, Getter, Setter, Index, IndexSet };
    enum Field { TypeField, FunctionField, GlobalField, ModuleField, PlaceholderField };
    enum class Pass { Types, Members, Bodies };
    // A struct, interface, module, dynamic array or function interface.
    struct ObjectInfo {
        ObjectKind kind = ObjectKind::Struct;
        int node = -1;
        int symbol = -1;
        int type = -1; // in types_
        int scope = -1; // where it is declared
        int parent = -1; // the struct or interface it extends
        bool arrayStruct = false;
        bool membersDone = false;
        int element = ErrorType; // dynamic arrays
        int elementObject = -1;
        int function = -1; // function interfaces: the signature, in functions_
        std::unordered_map<int, int> members; // symbol -> members_
        std::unordered_map<std::int64_t, int> modulePrivate; // (module, symbol) -> members_
        std::vector<int> delegates;
        std::vector<int> modules; // implemented, directly or not
        std::unordered_map<int, int> nodeMembers; // tree node -> members_
    };
    struct MemberInfo {
        MemberKind kind = MemberKind::Field;
        int symbol = -1;
        int object = -1; // the struct or interface it belongs to
        int module = -1; // the module it came from
        int node = -1;
        std::uint32_t flags = 0; // NodeFlag
        int type = ErrorType;
        int typeObject = -1;
        int function = -1; // methods and operators, in functions_
        int literal = -1; // a constant boolean's value: 0, 1, or -1 unknown
        bool builtin = false;
        bool twoD = false;
    };
    struct Binding {
        int symbol;
        int field;
        int value;
    };
    struct ScopeInfo {
        int node = -1;
        int parent = -1;
        int name = -1; // its symbol; 'scope' for one whose name is missing
        QByteArray prefix; // "Outer_Inner_"
        std::vector<Binding> bindings;
    };
    struct Saved {
        int symbol;
        int field;
        int old;
        int installed;
    };
    // Where the code being checked stands.
    struct Context {
        int object = -1; // the struct whose method it is (thistype)
        int module = -1; // the module it comes from
        bool isStatic = true;
    };
    // What a name or a step of "a.b[c].d" stands for.
    struct Ref {
        enum Kind { None, Val, Object, Function, Method, Super } kind = None;
        Value value;
        int object = -1;
        int member = -1;
        int function = -1;
        bool instance = false;
        bool called = false;
        // Where a value can be set: the variable or member it is.
        VariableRef variable;
        int field = -1; // a member field
        int setter = -1; // a member with a setter operator
        int indexSet = -1; // an object with "[]="
        bool arrayElement = false; // an element of a dynamic array or an array member
        bool lvalue = false;
        bool unknown = false; // nothing is known of it: anything may follow
        bool arrayName = false; // a global array named without an index, for ".size"
        bool execute = false; // a function's '.execute': it returns nothing
        int rows = 0; // indexes an array member still needs
    };

    void ParsePreprocessed();
    void OrderLibraries();
    void DeclareBuiltins();
    void PrescanConstants();
    void Walk(Pass pass);
    void WalkNode(int node, Pass pass);
    void WalkChildren(int node, Pass pass);
    bool StaticIfTaken(int node);
    std::pair<size_t, size_t> StaticIfBranch(int node);
    int StaticValue(const TokenRange &range);
    void EnterScope(int node);
    void LeaveScope();
    void SwitchScopes(int scope);
    void SetChain(const std::vector<int> &chain);
    void Install(int symbol, int field, int value);
    void RestoreTo(size_t mark);
    int &FieldOf(Symbol &s, int field);
    bool DeclareName(const Node &n, int field, int value);
    void Bind(int scope, int symbol, int field, int value);
    int CurrentScope() const { return activeScopes_.empty() ? -1 : activeScopes_.back(); }
    bool Incomplete() const;
    void DeclareObject(int node);
    void DeclareTypeNode(int node);
    void DeclareMembers(int node);
    void DeclareMember(int object, int module, int node);
    void ImplementModule(int object, int implementNode, int module);
    void FinishObjects();
    void AddBuiltins(int object);
    int AddMember(int object, int module, int symbol, MemberInfo m);
    int SignatureOf(const Node &n, int symbol);
    void DeclareGlobal(int node);
    void DeclareNative(int node);
    void CheckFunctionNode(int node);
    void CheckBody(int node, int function, const Context &context);
    void CheckValue(int node, int type, int object);
    void CheckObjectBodies(int node);
    void CheckScopeEnd(int node);
    void CheckHook(int node);
    bool ResolveType(const Token &t, int &type, int &object, bool report = true);
    Position At(const Token &t) const;
    int OriginalLine(int source, int line) const;
    void FinishVjass(int firstDiagnostic);
    void BuildOutline();
    QString ObjectName(int object) const;
    int OperatorSymbol(const Node &n);
    int InternText(const QByteArray &text);

    // vJASS: expressions and statements (CheckerMembers.cpp)
    Value ParseArguments(const FunctionInfo *f, const Token &name, Value v, bool statement);
    static Value Unknown(Value v);
    Value ParseVjassPrimary();
    Ref ParseChain(bool forSet);
    Ref ParseNameRef(bool forSet);
    Ref Member(const Ref &base, bool forSet);
    Ref MemberNamed(const Ref &base, const Token &name, bool forSet);
    Ref Index(const Ref &base, bool forSet);
    Ref Colon(const Ref &base, bool forSet);
    Ref CallRef(const Ref &r);
    Value ValueOf(Ref &r, const Token &at);
    int FindMember(int object, int symbol, int *via = nullptr, int delegation = 0) const;
    bool CanSee(const MemberInfo &m) const;
    void ParseVjassSet();
    void ParseVjassCall();
    bool ParseStaticIfStatement();
    void ParseImplementStatement();
    void SkipStaticBranch();
    Value ParseVjassCodeReference(const Token &start);
    void NotAMember(const Token &name, int object);

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

    // vJASS
    bool vjass_ = false;
    const QByteArray *text_ = nullptr; // the text lex_ reads, when not the source's own
    bool statementsSeen_ = false;
    bool quiet_ = false; // lexer problems are not reported (code a 'static if' leaves out)
    int implementDepth_ = 0;
    std::unique_ptr<VjassWords> words_;
    Preprocessed pre_;
    Tree tree_;
    std::vector<int> order_; // top-level nodes as the compiler writes them: libraries first
    std::vector<ObjectInfo> objects_;
    std::vector<MemberInfo> members_;
    std::vector<ScopeInfo> scopes_;
    std::vector<int> nodeScope_; // per node, for libraries and scopes
    std::vector<int> nodeObject_; // per node, for structs, interfaces, modules...
    std::vector<int> nodeFunction_; // per node, for functions, methods and natives
    std::vector<signed char> staticIf_; // per static if node: taken (1), not (0), unknown (-1)
    std::vector<char> skip_; // per node: left out (a library_once again)
    std::vector<int> activeScopes_;
    std::vector<Saved> saved_;
    std::vector<size_t> scopeMarks_;
    std::unordered_map<int, int> libraries_; // library symbol -> node
    std::unordered_map<int, int> functionNodes_; // function name -> node, for '.evaluate' from above
    std::vector<char> incomplete_; // per node: a library that lacks a library it requires
    std::unordered_map<int, int> constants_; // constant boolean symbol -> value
    Context ctx_;
    int keyType_ = -1;
    int prelude_ = 0; // sources loaded before the program
};

} // namespace Analysis
