#include "Navigation.h"

#include <algorithm>
#include <vector>

namespace Navigation {

namespace {

bool StartsWord(const QString &name, qsizetype i)
{
    const QChar c = name[i];
    const QChar before = name[i - 1];
    if (!c.isLetterOrNumber())
        return false;
    if (!before.isLetterOrNumber())
        return true;
    if (c.isDigit() != before.isDigit())
        return true;
    // "unitCount", and the last capital of "HTTPServer" before its small letters.
    return c.isUpper()
        && (before.isLower() || (before.isUpper() && i + 1 < name.size() && name[i + 1].isLower()));
}

bool HasWordStarting(const QString &name, const QString &typed)
{
    for (qsizetype i = 1; i + typed.size() <= name.size(); ++i) {
        if (StartsWord(name, i)
            && QStringView(name).sliced(i, typed.size()).compare(typed, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

SymbolIndex::SymbolIndex(QList<Symbol> symbols, const StringComparer &comparer)
    : m_symbols(std::move(symbols))
{
    const qsizetype count = m_symbols.size();
    std::vector<StringSortKey> keys;
    keys.reserve(size_t(count));
    for (const Symbol &symbol : std::as_const(m_symbols))
        keys.push_back(comparer.SortKey(symbol.name));
    m_byName.resize(count);
    for (qsizetype i = 0; i < count; ++i)
        m_byName[i] = int(i);
    // Stable: of equal names, the first in the script comes first.
    std::stable_sort(m_byName.begin(), m_byName.end(),
        [&keys](int a, int b) { return keys[size_t(a)].compare(keys[size_t(b)]) < 0; });

    m_children.resize(count + 1);
    for (qsizetype i = 0; i < count; ++i) {
        const int parent = m_symbols[i].parent;
        Q_ASSERT(parent < i);
        m_children[parent >= 0 && parent < i ? parent + 1 : 0].append(int(i));
    }
}

const QList<int> &SymbolIndex::Children(int parent) const
{
    static const QList<int> kNone;
    const qsizetype slot = qsizetype(parent) + 1;
    return slot >= 0 && slot < m_children.size() ? m_children[slot] : kNone;
}

QList<int> SymbolIndex::Filter(const QString &typed) const
{
    if (typed.isEmpty())
        return m_byName;
    QList<int> found;
    QList<int> inside;
    for (const int i : m_byName) {
        const QString &name = m_symbols[i].name;
        if (name.startsWith(typed, Qt::CaseInsensitive))
            found.append(i);
        else if (HasWordStarting(name, typed))
            inside.append(i);
    }
    found.append(inside);
    return found;
}

int SymbolIndex::At(int line) const
{
    // The last symbol that starts at or before the line; the innermost one
    // holding the line is it or one of its parents, as declarations nest.
    const auto after = std::partition_point(m_symbols.cbegin(), m_symbols.cend(),
        [line](const Symbol &symbol) { return symbol.firstLine <= line; });
    int i = int(after - m_symbols.cbegin()) - 1;
    while (i >= 0 && m_symbols[i].lastLine < line)
        i = m_symbols[i].parent;
    return i;
}

} // namespace Navigation
