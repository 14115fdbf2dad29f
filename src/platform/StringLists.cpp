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

// Case-sensitive lists must tell apart spellings that the primary order calls
// equal. Those that differ in case only put the lower-case letter first, as the
// collations do.
int CompareSpellings(QStringView a, QStringView b)
{
    const qsizetype n = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < n; ++i) {
        if (a[i] == b[i])
            continue;
        const bool lowerA = a[i].isLower();
        if (lowerA != b[i].isLower() && a[i].toCaseFolded() == b[i].toCaseFolded())
            return lowerA ? -1 : 1;
        return a[i] < b[i] ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

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
    : m_collator(locale.language() == QLocale::C ? QLocale(QLocale::English) : locale)
    , m_sensitivity(sensitivity)
{
    m_collator.setCaseSensitivity(sensitivity);
}

int StringComparer::Compare(const QString &a, const QString &b) const
{
    const int c = m_collator.compare(a, b);
    if (c != 0 || m_sensitivity == Qt::CaseInsensitive)
        return c;
    return CompareSpellings(a, b);
}

StringSortKey StringComparer::SortKey(const QString &text) const
{
    std::optional<QString> exact;
    if (m_sensitivity == Qt::CaseSensitive)
        exact = text;
    return StringSortKey(m_collator.sortKey(text), std::move(exact));
}

StringSortKey::StringSortKey(QCollatorSortKey collated, std::optional<QString> text)
    : m_collated(std::move(collated))
    , m_text(std::move(text))
{
}

int StringSortKey::compare(const StringSortKey &other) const
{
    const int c = m_collated.compare(other.m_collated);
    if (c != 0 || !m_text)
        return c;
    return CompareSpellings(*m_text, *other.m_text);
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
