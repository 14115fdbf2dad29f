#pragma once

#include "Configuration.h"
#include "editor/SyntaxType.h"
#include "editor/WordClasses.h"

#include <QStringList>

#include <array>
#include <functional>

// The explorer's tabs, in tab order; each is one category of the catalogue.
enum class CategoryKind { Functions, Constants, AIFunctions, AIGlobals };
inline constexpr int kCategoryCount = 4;

// The declarations of one category. `Names` and `Lines` hold every line of every
// file in load order (blank and comment lines too) and never change after
// loading; entry i of `Names` is the name of entry i of `Lines`. `ShownNames` is
// what the explorer lists, sorted by the user's locale with case ignored, and
// entry i of `ShownLines` is always the declaration of entry i of `ShownNames`:
// the two are only changed together, through the functions below.
struct DeclarationCategory {
    QStringList Names;
    QStringList Lines;
    QStringList ShownNames;
    QStringList ShownLines;

    // Adds one declaration at the sorted place of its name. It is dropped, and
    // false returned, when an equal name (case ignored) is shown already.
    bool AddShown(const QString &name, const QString &line);
    void ClearShown();
};

// The four categories, indexed by tab.
struct Catalogue {
    std::array<DeclarationCategory, kCategoryCount> Categories;

    [[nodiscard]] DeclarationCategory &operator[](CategoryKind kind) { return Categories[size_t(kind)]; }
    [[nodiscard]] const DeclarationCategory &operator[](CategoryKind kind) const
    {
        return Categories[size_t(kind)];
    }
};

// The name an AI global line declares: the word after the type, after a
// leading "constant", skipping "array". Words split at spaces only, so
// "integer x=5" declares "x=5".
[[nodiscard]] QString AIGlobalName(const QString &line);

// The name a line of a category's files declares: the first word for
// functions, the second word for constants (the type word when the line starts
// with "constant"), AIGlobalName for AI globals.
[[nodiscard]] QString DeclarationName(CategoryKind kind, const QString &line);

// Sort comparisons of declaration lines (negative, zero, positive), case
// ignored, by the user's locale. Constants compare their second words. AI
// globals compare their names, except that "constant" is only recognised in
// the first eight characters: an indented "constant" line sorts by its type.
[[nodiscard]] int CompareConstantLines(const QString &a, const QString &b);
[[nodiscard]] int CompareAIGlobalLines(const QString &a, const QString &b);

// Sorts a freshly loaded category's shown lists by name, keeping duplicates;
// equal names stay together in the order of their lines.
void SortShown(DeclarationCategory &category, CategoryKind kind);

// The classes of the names the declaration files give: navy function names,
// maroon constant names, no style.
[[nodiscard]] const TSyntaxType &FunctionWordClass();
[[nodiscard]] const TSyntaxType &ConstantWordClass();

// Receives the Functions names the explorer list shows at start.
using FunctionListSink = std::function<void(const QStringList &names)>;

// Builds the catalogue from the configured files: functions (then
// `fillFunctionlist`), constants, the syntax files, AI functions, AI globals,
// and finally rebuilds the highlighting of `Editbox` and then `HelpEdit`. The
// words of each file are registered with `Editbox` and then with `HelpEdit` as
// the file is read. A file that cannot be read raises TolvaneError naming it;
// the categories loaded before it stay, the steps after it do not run.
void LoadCatalogue(const Configuration &config, Catalogue &catalogue, WordClassTarget &Editbox,
    WordClassTarget &HelpEdit, const FunctionListSink &fillFunctionlist);
