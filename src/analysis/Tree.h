#pragma once

#include "Lexer.h"

#include <cstdint>
#include <deque>
#include <vector>

// The syntax tree of a vJASS program down to its declarations: libraries,
// scopes, structs and their members, functions and methods with the range of
// their bodies. Bodies and initial values are not parsed into nodes; the
// checker reads them from their ranges. Every node knows its source and its
// lines in the preprocessed text of that source.
namespace Analysis {

enum class NodeKind : std::uint8_t {
    Library,
    Scope,
    Struct,
    Interface,
    Module,
    Globals,
    Variable, // a global, or a member of a struct, interface or module
    Function,
    Method,
    Native,
    Type, // "type X extends Y", also a dynamic array "type X extends Y array [N]"
    FunctionInterface,
    Keyword,
    Hook,
    Implement,
    StaticIf,
};

// Modifiers and facts of a node, as bits.
enum NodeFlag : std::uint32_t {
    Private = 1u << 0,
    Public = 1u << 1,
    Static = 1u << 2,
    Constant = 1u << 3,
    Readonly = 1u << 4,
    Stub = 1u << 5,
    Delegate = 1u << 6,
    Operator = 1u << 7,
    Optional = 1u << 8, // an optional implement
    Once = 1u << 9, // library_once
    IsArray = 1u << 10, // an array variable, an array struct, a dynamic array type
    Broken = 1u << 11, // its header has a syntax error
    Unclosed = 1u << 12, // its closer is missing
    HasDefault = 1u << 13, // an interface method with 'defaults'
    NoSignature = 1u << 14, // an interface's "method operator <" or "static method create takes nothing"
};

// A range of tokens to read again later: an initial value, an array size, a
// condition. `begin` is a byte offset in the preprocessed text; the range
// ends with its line.
struct TokenRange {
    int begin = -1;
    int end = -1;
    int line = 0;
    int lineStart = 0;
    bool empty() const { return begin < 0; }
};

struct Parameter {
    Token type;
    Token name;
};

struct Requirement {
    Token name;
    bool optional = false;
};

struct Node {
    NodeKind kind = NodeKind::Globals;
    std::uint32_t flags = 0;
    int source = 0;
    int parent = -1;
    std::vector<int> children;
    int firstLine = 0; // preprocessed lines of the whole node, opener to closer
    int lastLine = 0;
    int begin = 0; // byte offsets of the same
    int end = 0;
    Token keyword; // 'struct', 'method', the first word that says what it is
    Token name; // kind == Implement: the module; Hook: the hooked function
    // Variables: the type; structs: the type extended; types: the parent;
    // methods, functions, natives, interfaces' methods: the return type ('nothing' or a name);
    // libraries and scopes: the initializer; hooks: the function, or the struct of "S.method".
    Token type;
    std::vector<Requirement> requirements; // libraries
    std::vector<Parameter> parameters;
    bool returnsNothing = true;
    TokenRange value; // initial value, 'defaults' value, static if condition
    TokenRange size; // array size, dynamic array size, struct index space
    TokenRange size2; // second array dimension
    TokenRange body; // function and method bodies
    Token closer; // 'endfunction', 'endmethod', ... when present
    int elseChild = -1; // static if: the first child of the 'else' branch (children.size() when none)
    // Method operators: the token after 'operator' ('[' of "[]", '<', the
    // name of "x" and "x="), and whether it sets ("[]=", "x="); hooks: the
    // method of "S.method".
    Token op;
    bool setter = false;
};

struct Tree {
    // In blocks, not one large array: a node stays where it is as the tree
    // grows, and no single large allocation comes and goes with each analysis.
    std::deque<Node> nodes;
    std::vector<int> roots; // top-level nodes of every source, in source order
};

} // namespace Analysis
