#include "ExplorerFilter.h"

#include "langdata/WordHelpers.h"
#include "platform/StringLists.h"

#include <algorithm>
#include <numeric>

namespace {

QString DeclaredType(CategoryKind kind, const QString &line)
{
    switch (kind) {
    case CategoryKind::Functions:
    case CategoryKind::AIFunctions:
        return LastWord(line);
    case CategoryKind::Constants:
    case CategoryKind::AIGlobals:
        break;
    }
    return GlobalType(line);
}

} // namespace

QString AsciiLower(const QString &text)
{
    QString lower = text; // shares the text when there is nothing to lower
    for (qsizetype i = 0; i < lower.size(); ++i) {
        const char16_t c = lower.at(i).unicode();
        if (c >= u'A' && c <= u'Z')
            lower[i] = QChar(char16_t(c + (u'a' - u'A')));
    }
    return lower;
}

const ExplorerFilter::CategoryIndex &ExplorerFilter::indexOf(
    CategoryKind kind, const DeclarationCategory &category)
{
    CategoryIndex &index = m_index[size_t(kind)];
    if (index.names == category.Names.constData() && index.count == category.Names.size())
        return index;

    const qsizetype count = category.Names.size();
    const StringComparer &comparer = StringComparer::CaseInsensitive();
    std::vector<StringSortKey> keys;
    keys.reserve(size_t(count));
    for (const QString &name : category.Names)
        keys.push_back(comparer.SortKey(name));
    std::vector<qsizetype> order(static_cast<size_t>(count));
    std::iota(order.begin(), order.end(), qsizetype(0));
    // Stable: of equal names, the one loaded first comes first.
    std::stable_sort(order.begin(), order.end(),
        [&keys](qsizetype a, qsizetype b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });

    index.entries.clear();
    index.entries.reserve(size_t(count));
    for (size_t k = 0; k < order.size(); ++k) {
        const qsizetype i = order[k];
        const bool first = k == 0 || keys[size_t(order[k - 1])].compare(keys[size_t(i)]) != 0;
        index.entries.push_back(
            { i, AsciiLower(category.Names.at(i)), DeclaredType(kind, category.Lines.at(i)), first });
    }
    index.names = category.Names.constData();
    index.count = count;
    return index;
}

void ExplorerFilter::Prepare(const Catalogue &catalogue)
{
    for (int c = 0; c < kCategoryCount; ++c)
        indexOf(CategoryKind(c), catalogue.Categories[size_t(c)]);
}

void ExplorerFilter::Apply(Catalogue &catalogue, const QString &search, const QString &typeFilter)
{
    const QString prefix = AsciiLower(search);
    for (int c = 0; c < kCategoryCount; ++c) {
        DeclarationCategory &category = catalogue.Categories[size_t(c)];
        const CategoryIndex &index = indexOf(CategoryKind(c), category);
        category.ClearShown();
        // Within a run of equal names only the first that passes is shown, as
        // a kept-sorted list drops the later ones.
        bool shown = false;
        for (const Entry &entry : index.entries) {
            if (entry.firstOfName)
                shown = false;
            // The name's first characters equal the search text; compared
            // as texts, an empty search text matches every name.
            if (shown || QStringView(entry.lowerName).left(prefix.size()) != prefix)
                continue;
            if (!typeFilter.isEmpty() && entry.type != typeFilter)
                continue;
            category.ShownNames.append(category.Names.at(entry.index));
            category.ShownLines.append(category.Lines.at(entry.index));
            shown = true;
        }
    }
}
