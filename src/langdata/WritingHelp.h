#pragma once

#include "Catalogue.h"
#include "analysis/Analysis.h"

#include <QList>
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
    Parameter
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
    void Build(const QByteArray &text);
    [[nodiscard]] const Analysis::Result &Result() const { return m_result; }
    // The body holding a 0-based editor line, or none.
    [[nodiscard]] const Analysis::Scope *ScopeAt(int line) const;
    [[nodiscard]] const Analysis::Function *FindFunction(const QString &name) const;

private:
    Analysis::Result m_result;
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
};
[[nodiscard]] std::optional<CallSite> CallAt(
    const QString &line, int column, const std::function<bool(const QString &)> &isFunction);

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
[[nodiscard]] Tip MakeTip(const QString &declaration, int argument);

// Where `name` is declared: in the script (0-based line), or in the catalogue
// (its declaration line, looked up as a selection in the editor looks it up).
struct Declaration {
    bool inScript = false;
    int line = -1;
    QString text;
};
[[nodiscard]] std::optional<Declaration> FindDeclaration(
    const Catalogue &catalogue, const ScriptIndex *script, int line, const QString &name);

} // namespace WritingHelp
