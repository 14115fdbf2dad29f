#include "StringLists.h"

#include <QLocale>

#include <algorithm>
#include <memory>
#include <numeric>

namespace {

struct SharedComparers
{
    std::unique_ptr<StringComparer> insensitive;
    std::unique_ptr<StringComparer> sensitive;
};

SharedComparers &Shared()
{
    static SharedComparers comparers;
    if (!comparers.insensitive) {
        comparers.insensitive = std::make_unique<StringComparer>(Qt::CaseInsensitive);
        comparers.sensitive = std::make_unique<StringComparer>(Qt::CaseSensitive);
    }
    return comparers;
}

} // namespace

StringComparer::StringComparer(Qt::CaseSensitivity sensitivity, const QLocale &locale)
    : m_collator(locale)
    , m_sensitivity(sensitivity)
{
    m_collator.setCaseSensitivity(sensitivity);
}

int StringComparer::Compare(const QString &a, const QString &b) const
{
    const int c = m_collator.compare(a, b);
    if (c != 0 || m_sensitivity == Qt::CaseInsensitive)
        return c;
    // The collator may call two spellings equal even in case-sensitive mode;
    // case-sensitive lists must still tell them apart.
    return a == b ? 0 : (a < b ? -1 : 1);
}

const StringComparer &StringComparer::CaseInsensitive()
{
    return *Shared().insensitive;
}

const StringComparer &StringComparer::CaseSensitive()
{
    return *Shared().sensitive;
}

const StringComparer &StringComparer::ForMode(Qt::CaseSensitivity sensitivity)
{
    return sensitivity == Qt::CaseSensitive ? CaseSensitive() : CaseInsensitive();
}

void StringComparer::SetLocale(const QLocale &locale)
{
    Shared().insensitive = std::make_unique<StringComparer>(Qt::CaseInsensitive, locale);
    Shared().sensitive = std::make_unique<StringComparer>(Qt::CaseSensitive, locale);
}

namespace StringLists {

SearchResult FindSorted(const QStringList &list, const QString &text, const StringComparer &comparer)
{
    qsizetype low = 0;
    qsizetype high = list.size() - 1;
    SearchResult result;
    while (low <= high) {
        const qsizetype mid = low + (high - low) / 2;
        const int c = comparer.Compare(list[mid], text);
        if (c < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (c == 0)
                result.found = true;
        }
    }
    // `low` is the first entry not less than `text`: on a hit, the first equal one.
    result.index = low;
    return result;
}

qsizetype InsertSorted(QStringList &list, const QString &text, const StringComparer &comparer)
{
    const SearchResult at = FindSorted(list, text, comparer);
    if (at.found)
        return -1;
    list.insert(at.index, text);
    return at.index;
}

void Sort(QStringList &list, const StringComparer &comparer)
{
    std::stable_sort(list.begin(), list.end(), [&comparer](const QString &a, const QString &b) {
        return comparer.Compare(a, b) < 0;
    });
}

QList<qsizetype> SortedOrder(qsizetype count, const std::function<bool(qsizetype, qsizetype)> &less)
{
    QList<qsizetype> order(count);
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(), less);
    return order;
}

} // namespace StringLists
