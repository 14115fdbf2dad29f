#include "Catalogue.h"

#include "WordHelpers.h"
#include "platform/StringLists.h"
#include "platform/TextFile.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

const StringComparer &Comparer()
{
    return StringComparer::CaseInsensitive();
}

QString AIGlobalNameFrom(const QString &line, bool constant)
{
    const int k = constant ? 3 : 2;
    const QString w = WordAt(line, k);
    return w == QLatin1String("array") ? WordAt(line, k + 1) : w;
}

int CompareWholeLines(const QString &a, const QString &b)
{
    return Comparer().Compare(a, b);
}

using LineComparison = int (*)(const QString &, const QString &);

LineComparison LineComparisonOf(CategoryKind kind)
{
    switch (kind) {
    case CategoryKind::Constants:
        return CompareConstantLines;
    case CategoryKind::AIGlobals:
        return CompareAIGlobalLines;
    case CategoryKind::Functions:
    case CategoryKind::AIFunctions:
        break;
    }
    return CompareWholeLines;
}

// Reads the files of one category, registering each file's names as it goes.
DeclarationCategory LoadCategory(CategoryKind kind, const QStringList &files, const TSyntaxType &wordClass,
    WordClassTarget &Editbox, WordClassTarget &HelpEdit)
{
    DeclarationCategory category;
    for (const QString &file : files) {
        const QStringList lines = TextFile::LoadLines(file);
        QStringList names;
        names.reserve(lines.size());
        for (const QString &line : lines)
            names.append(DeclarationName(kind, line));
        LoadWordClasses(names, &wordClass, { &Editbox, &HelpEdit });
        category.Names += names;
        category.Lines += lines;
    }
    category.ShownNames = category.Names;
    category.ShownLines = category.Lines;
    SortShown(category, kind);
    return category;
}

} // namespace

bool DeclarationCategory::AddShown(const QString &name, const QString &line)
{
    const StringLists::SearchResult at = StringLists::FindSorted(ShownNames, name, Comparer());
    if (at.found)
        return false;
    ShownNames.insert(at.index, name);
    ShownLines.insert(at.index, line);
    return true;
}

void DeclarationCategory::ClearShown()
{
    ShownNames.clear();
    ShownLines.clear();
}

QString AIGlobalName(const QString &line)
{
    return AIGlobalNameFrom(line, FirstWord(line) == QLatin1String("constant"));
}

QString DeclarationName(CategoryKind kind, const QString &line)
{
    switch (kind) {
    case CategoryKind::Constants:
        return SecondWord(line);
    case CategoryKind::AIGlobals:
        return AIGlobalName(line);
    case CategoryKind::Functions:
    case CategoryKind::AIFunctions:
        break;
    }
    return FirstWord(line);
}

int CompareConstantLines(const QString &a, const QString &b)
{
    return Comparer().Compare(SecondWord(a), SecondWord(b));
}

int CompareAIGlobalLines(const QString &a, const QString &b)
{
    const auto name = [](const QString &line) {
        return AIGlobalNameFrom(line, MidText(line, 1, 8) == QLatin1String("constant"));
    };
    return Comparer().Compare(name(a), name(b));
}

void SortShown(DeclarationCategory &category, CategoryKind kind)
{
    Q_ASSERT(category.ShownNames.size() == category.ShownLines.size());
    // The names and lines move together, so the index match holds whatever the
    // lines look like. Sort keys spare a locale comparison per step.
    const qsizetype count = category.ShownNames.size();
    std::vector<StringSortKey> keys;
    keys.reserve(size_t(count));
    for (const QString &name : std::as_const(category.ShownNames))
        keys.push_back(Comparer().SortKey(name));
    const LineComparison compareLines = LineComparisonOf(kind);
    std::vector<qsizetype> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int c = keys[size_t(a)].compare(keys[size_t(b)]);
        if (c != 0)
            return c < 0;
        return compareLines(category.ShownLines.at(a), category.ShownLines.at(b)) < 0;
    });
    QStringList names;
    QStringList lines;
    names.reserve(count);
    lines.reserve(count);
    for (const qsizetype i : order) {
        names.append(category.ShownNames.at(i));
        lines.append(category.ShownLines.at(i));
    }
    category.ShownNames = std::move(names);
    category.ShownLines = std::move(lines);
}

const TSyntaxType &FunctionWordClass()
{
    static const TSyntaxType type(0x800000, 0);
    return type;
}

const TSyntaxType &ConstantWordClass()
{
    static const TSyntaxType type(0x000080, 0);
    return type;
}

void LoadCatalogue(const Configuration &config, Catalogue &catalogue, WordClassTarget &Editbox,
    WordClassTarget &HelpEdit, const FunctionListSink &fillFunctionlist)
{
    catalogue = {};
    catalogue[CategoryKind::Functions]
        = LoadCategory(CategoryKind::Functions, config.FunctionFiles, FunctionWordClass(), Editbox, HelpEdit);
    if (fillFunctionlist)
        fillFunctionlist(catalogue[CategoryKind::Functions].ShownNames);

    catalogue[CategoryKind::Constants]
        = LoadCategory(CategoryKind::Constants, config.ConstantFiles, ConstantWordClass(), Editbox, HelpEdit);

    for (const QString &file : config.SyntaxFiles)
        LoadWordClasses(TextFile::LoadLines(file), nullptr, { &Editbox, &HelpEdit });

    catalogue[CategoryKind::AIFunctions] = LoadCategory(
        CategoryKind::AIFunctions, config.AIFunctionFiles, FunctionWordClass(), Editbox, HelpEdit);
    catalogue[CategoryKind::AIGlobals] = LoadCategory(
        CategoryKind::AIGlobals, config.AIConstantFiles, ConstantWordClass(), Editbox, HelpEdit);

    Editbox.RebuildHighlighting();
    HelpEdit.RebuildHighlighting();
}
