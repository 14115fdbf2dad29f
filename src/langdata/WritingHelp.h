#pragma once

#include "Catalogue.h"
#include "analysis/Analysis.h"

#include <QList>
#include <QMultiHash>
#include <QString>

#include <functional>
#include <optional>

// What the editor offers while the user writes: the names that complete a
// word, the call the caret is in and the place a name is declared. It knows
// the catalogue and the script's own declarations (one analysis of the whole
// document); it never sees a widget.
namespace WritingHelp {

// Where a name comes from; the popup shows it as an icon.
enum class NameKind {
    Function,
    Constant,
    AIFunction,
    AIGlobal,
    ScriptFunction,
    ScriptGlobal,
    Local,
    Parameter,
    Member,
    Method
};

struct Candidate {
    QString name;
    NameKind kind;
    QString declaration;
};

// The script's own declarations. Analysing a large script costs tens of
// milliseconds, so the owner decides when to rebuild it.
class ScriptIndex {
public:
    // A vJASS script with a `folder` is read with the files of its project
    // that declare the libraries and textmacros it uses, as Check Script
    // reads it; the script itself is the analysis' first source.
    void Build(
        const QByteArray &text, const QString &fileName = QString(), const QString &folder = QString());
    [[nodiscard]] const Analysis::Result &Result() const { return m_result; }
    // The body holding a 0-based editor line, or none.
    [[nodiscard]] const Analysis::Scope *ScopeAt(int line) const;
    [[nodiscard]] const Analysis::Function *FindFunction(const QString &name) const;
    // The file an analysis source was read from; empty for the script.
    [[nodiscard]] QString FileOf(int source) const;
    // The outline's declarations by name.
    [[nodiscard]] const QMultiHash<QString, int> &Names() const { return m_names; }

private:
    Analysis::Result m_result;
    QMultiHash<QString, int> m_names;
    QStringList m_files; // the sources after the script
};

// "Name takes type a, type b returns type", as the declaration files write it.
[[nodiscard]] QString FunctionDeclaration(const Analysis::Function &function);
[[nodiscard]] QString VariableDeclaration(const Analysis::Variable &variable, const QString &prefix = {});

// The names that begin with `prefix`, case ignored: the locals and parameters
// of the body holding `line`, the script's functions and globals and the four
// categories, sorted as the explorer sorts names, each name once (the first
// in that order wins).
[[nodiscard]] QList<Candidate> Complete(
    const Catalogue &catalogue, const ScriptIndex *script, int line, const QString &prefix);

// After a "." right before `start` of `line`: the members of the struct the
// expression before it stands for that begin with `prefix`, sorted as
// Complete sorts. None when no "." stands there.
[[nodiscard]] std::optional<QList<Candidate>> CompleteMembers(
    const ScriptIndex *script, int line, const QString &text, int start, const QString &prefix);

// True when `column` of `line` stands in code: not in a comment or a string.
[[nodiscard]] bool InCode(const QString &line, int column);

// True when a word starting at `column` names something new: after function,
// native or type, after the type of a local, of a global or constant, or of a
// parameter in takes. No list of known names helps to write it.
[[nodiscard]] bool DeclaresName(const QString &line, int column);

// The word of letters, digits and "_" that touches `column`; start and length
// (0 when there is none).
[[nodiscard]] std::pair<int, int> WordAt(const QString &line, int column);

// The innermost call whose "(" stands before `column` on the line and is not
// closed yet, with a name that `isFunction` knows: the name, the 0-based
// argument the column is in, and the column of the "(".
struct CallSite {
    QString function;
    int argument = 0;
    int open = 0;
    int start = 0; // the column of the name
};
[[nodiscard]] std::optional<CallSite> CallAt(
    const QString &line, int column, const std::function<bool(const QString &)> &isFunction);
// The same with the column the name starts at, for a method after a ".".
[[nodiscard]] std::optional<CallSite> CallAt(
    const QString &line, int column, const std::function<bool(const QString &, int)> &isFunction);

// A declaration and the range of one of its parameters in it (length 0 when
// it has no such parameter).
struct Tip {
    QString text;
    int boldStart = 0;
    int boldLength = 0;
};
// The declaration of a function, the script's own first, then the
// Functions and AI Functions of the catalogue; empty when none is known.
[[nodiscard]] QString CallDeclaration(
    const Catalogue &catalogue, const ScriptIndex *script, const QString &name);
// The same for the name at `start` of `text` on `line`: after a "." the
// method of the struct before it.
[[nodiscard]] QString CallDeclarationAt(const Catalogue &catalogue, const ScriptIndex *script, int line,
    const QString &text, int start, const QString &name);
[[nodiscard]] Tip MakeTip(const QString &declaration, int argument);

// Where `name` is declared: in the script (0-based line), in another file
// of its project (`file` and its 0-based line), or in the catalogue (its
// declaration line, looked up as a selection in the editor looks it up).
struct Declaration {
    bool inScript = false;
    int line = -1;
    QString text;
    QString file;
};
[[nodiscard]] std::optional<Declaration> FindDeclaration(
    const Catalogue &catalogue, const ScriptIndex *script, int line, const QString &name);
// The same for the word at `start` of `text` on `line`: after a "." the
// member of the struct before it; in vJASS also libraries, structs,
// modules, textmacros, the nearest first.
[[nodiscard]] std::optional<Declaration> FindDeclarationAt(const Catalogue &catalogue,
    const ScriptIndex *script, int line, const QString &text, int start, const QString &name);

} // namespace WritingHelp
