#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The check the game does when it loads a script: the JASS language as the
// game reads it, with blocks, names and types, and the mistakes that load but
// stop or crash the game; and vJASS, the extension map makers write that
// their compiler turns into JASS. Several sources are one program, in order,
// as the game loads common.j, blizzard.j and war3map.j; vJASS libraries in
// the order their requirements give.
namespace Analysis {

enum class Severity { Error, Warning };

// Lines and columns are 1-based; a column counts bytes of the line. `length`
// is the number of bytes the diagnostic covers (at least 1). `source` is the
// index of the source in the list given to Analyse.
struct Diagnostic {
    Severity severity = Severity::Error;
    int source = 0;
    int line = 1;
    int column = 1;
    int length = 1;
    QString message;

    friend bool operator==(const Diagnostic &, const Diagnostic &) = default;
};

// One file of the program, its bytes as on disk (any line ends, optional BOM).
struct Source {
    QString name;
    QByteArray text;
};

// Where a declaration stands: `source` indexes the sources of the Analyse call
// that declared it, -1 when it came from an API file; `line` is 1-based, 0
// when unknown.
struct Position {
    int source = -1;
    int line = 0;

    friend bool operator==(const Position &, const Position &) = default;
};

struct Type {
    QString name;
    QString parent; // empty for the primitive types
    Position at;

    friend bool operator==(const Type &, const Type &) = default;
};

// A global, local or parameter.
struct Variable {
    QString type;
    QString name;
    bool isArray = false;
    bool isConstant = false;
    Position at;

    friend bool operator==(const Variable &, const Variable &) = default;
};

struct Function {
    QString name;
    QList<Variable> parameters;
    QString returns; // "nothing" when it returns nothing
    bool isConstant = false;
    bool isNative = false;
    Position at;

    friend bool operator==(const Function &, const Function &) = default;
};

// The predeclared world a program is checked on: types, natives and
// functions, globals, each list in declaration order.
struct Api {
    QList<Type> types;
    QList<Function> functions;
    QList<Variable> globals;

    friend bool operator==(const Api &, const Api &) = default;
};

// The body of one function, for completion and go-to-declaration: its
// parameters and locals and the lines from `function` to `endfunction`.
struct Scope {
    QString function;
    int source = 0;
    int firstLine = 0;
    int lastLine = 0;
    QList<Variable> parameters;
    QList<Variable> locals;
};

// vJASS: a declaration of the program's tree, for the outline, folding, go to
// declaration and member completion. Lines are those of its source; what a
// textmacro wrote stands at its '//! runtextmacro' line.
struct Declaration {
    enum class Kind {
        Library,
        Scope,
        Struct,
        Interface,
        Module,
        Globals,
        Global, // a variable of a globals block
        Member, // a variable of a struct, interface or module
        Function,
        Method,
        Native,
        Type, // "type X extends Y", also a dynamic array
        FunctionInterface,
        Keyword,
        Implement, // name: the module
        TextMacro,
    };
    Kind kind = Kind::Function;
    QString name; // as written; an operator's is "operator []", "operator x="
    // Variables: their type; functions and methods: what they return
    // ("nothing"); structs and types: what they extend.
    QString type;
    QStringList modifiers; // "private", "public", "static", "constant", "readonly", "stub", "delegate",
                           // "array", "optional"
    QStringList uses; // libraries: those they require; structs and modules: the modules they implement
    QList<Variable> parameters;
    int source = 0;
    int line = 0; // of the name
    int column = 0;
    int firstLine = 0; // the whole declaration, opener to closer
    int lastLine = 0;
    int parent = -1; // the enclosing declaration, an index into Result::outline

    friend bool operator==(const Declaration &, const Declaration &) = default;
};

struct Result {
    // Every diagnostic of every source, sources in order, each in document order.
    QList<Diagnostic> diagnostics;
    // What the sources declared (not what the given API held), with positions.
    Api declared;
    // One per function body the sources declared, in order.
    QList<Scope> scopes;
    // vJASS: the libraries some library requires, optionally or not, that no
    // source declares.
    QStringList missingLibraries;
    // vJASS: the textmacros a source runs that no source defines.
    QStringList missingMacros;
    // vJASS: the declarations, each source's in document order, parents
    // before their children; filled with `declared` (Options::declarations).
    QList<Declaration> outline;

    [[nodiscard]] bool HasErrors() const;
};

// The six primitive types alone: integer, real, boolean, string, handle, code.
[[nodiscard]] Api PrimitiveApi();

// Adds the declarations of `more` after those of `api`, as if declared later.
void Append(Api &api, const Api &more);

// Reads a file a script imports: its bytes, or false and the system's reason.
using FileReader = std::function<bool(const QString &path, QByteArray *bytes, QString *error)>;

enum class Dialect {
    Detect, // vJASS when a source uses a vJASS construct, else JASS
    Jass,
    Vjass,
};

struct Options {
    explicit Options(bool declarations = true)
        : declarations(declarations)
    {
    }

    // Fill Result::declared and Result::scopes; a check that only wants the
    // diagnostics saves a quarter of its time without them.
    bool declarations = true;
    Dialect dialect = Dialect::Detect;
    // For '//! import'; a relative path is read beside the source's name.
    // By default the file is read from disk.
    FileReader readFile;
    // The first sources are loaded before the program, as common.j and
    // blizzard.j: vJASS libraries come after them.
    int preludeSources = 0;
};

// Analyses the sources in order as one program on top of `api`. To build an
// API from declaration files, analyse them on PrimitiveApi() and append
// `declared` to it. Positions in `api` are not used (they point into the
// sources of another analysis); its declarations are "in the API".
[[nodiscard]] Result Analyse(
    const QList<Source> &sources, const Api &api, const Options &options = Options());

// The compact API file: what the check needs of declaration files, in a text
// form that round-trips exactly (positions are not kept). ReadApi returns
// nothing and sets `error` (file line and reason) when the bytes are not one.
[[nodiscard]] QByteArray WriteApi(const Api &api);
[[nodiscard]] std::optional<Api> ReadApi(const QByteArray &bytes, QString *error);

} // namespace Analysis
