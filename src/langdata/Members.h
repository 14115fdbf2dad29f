#pragma once

#include "analysis/Analysis.h"

#include <QList>
#include <QMultiHash>
#include <QString>

#include <optional>

// vJASS members: what the expression before a "." stands for, and what its
// struct, interface or module offers after it: its own members and methods,
// those of the modules it implements, of what it extends and of its
// delegates. It reads one analysis of the script; lines are 0-based editor
// lines of the analysis' first source, the script itself.
namespace Members {

// Where the code stands: the analysis, its outline by name (each
// declaration's index under its name), the body holding `line` if any.
struct Context {
    const Analysis::Result &result;
    const QMultiHash<QString, int> &names;
    const Analysis::Scope *scope = nullptr;
    int line = 0;
};

// The index of an outline by its names.
[[nodiscard]] QMultiHash<QString, int> NameIndex(const QList<Analysis::Declaration> &outline);

// A struct, interface or module of the outline, as a value (its instance
// members) or by its name (its statics).
struct Target {
    int declaration = -1;
    bool instance = true;
};

// The expression that ends right before the "." at column `dot` of `text`:
// a variable, this, thistype, super, a struct's name, a call, a chain of
// members, each maybe indexed; a "." with nothing before it is this. None
// when its type is no struct known to the analysis.
[[nodiscard]] std::optional<Target> TargetBefore(const Context &context, const QString &text, int dot);

struct Member {
    QString name; // a property (method operator x) by its name alone
    bool method = false;
    QString declaration;
    int declarationIndex = -1; // into the outline; -1 for what every struct has
    QString type; // a variable's type, what a method returns
    int owner = -1; // what thistype stands for in `type`
    bool isArray = false;
};

// What `target` offers to code at context.line, each name once, the nearest
// first: its own, its modules', its parent's, its delegates'. A private
// member shows inside the struct or module that declares it.
[[nodiscard]] QList<Member> MembersOf(const Context &context, const Target &target);

// The member `name` of `target` as MembersOf finds it, or none.
[[nodiscard]] std::optional<Member> FindMember(
    const Context &context, const Target &target, const QString &name);

// "static real x", "method move takes real dx, real dy returns nothing".
[[nodiscard]] QString DeclarationText(const Analysis::Declaration &declaration);

// The struct or interface whose name `type` is, seen from the code
// at context.line; `self` stands for thistype. -1 when there is none.
[[nodiscard]] int FindObject(const Context &context, const QString &type, int self = -1);

// The nearest declaration named `name` (written so, or from outside its
// library as "Lib_name"): with `member`, a member or method; else anything
// else with a name: library, scope, struct, module, function, global,
// textmacro... -1 when there is none.
[[nodiscard]] int FindNamed(const Context &context, const QString &name, bool member);

} // namespace Members
