#pragma once

#include <QCollator>
#include <QCollatorSortKey>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// A text's place in the order of one comparer, worked out once: sorting many
// texts by their keys spares a locale comparison per step. Keys of the same
// comparer compare as StringComparer::Compare compares their texts.
class StringSortKey {
public:
    [[nodiscard]] int compare(const StringSortKey &other) const;

private:
    friend class StringComparer;
    StringSortKey(QCollatorSortKey collated, std::optional<QString> text);

    QCollatorSortKey m_collated;
    std::optional<QString> m_text; // the text itself, for a case-sensitive comparer
};

// Locale-aware string comparison as the sorted lists use it. There is one
// comparer per case mode, shared by sorting, lookup and the sort keys, so a
// list sorted with a comparer is searched with the same order.
//
// The C (POSIX) locale has no collation of its own: its collator compares code
// points, capitals before every lower-case letter and digits before '_'. There
// the comparers take the root order of Unicode collation (English's), so order
// and duplicates are the same as in other locales.
class StringComparer
{
public:
    explicit StringComparer(Qt::CaseSensitivity sensitivity, const QLocale &locale = QLocale());

    [[nodiscard]] int Compare(const QString &a, const QString &b) const;
    [[nodiscard]] StringSortKey SortKey(const QString &text) const;
    [[nodiscard]] Qt::CaseSensitivity Sensitivity() const { return m_sensitivity; }

    // The shared comparers of the system locale.
    static const StringComparer &CaseInsensitive();
    static const StringComparer &CaseSensitive();
    static const StringComparer &ForMode(Qt::CaseSensitivity sensitivity);
    // Tests pin a locale so orders do not depend on LANG.
    static void SetLocale(const QLocale &locale);

private:
    QCollator m_collator;
    Qt::CaseSensitivity m_sensitivity;
};

namespace StringLists {

struct SearchResult
{
    qsizetype index = 0; // where the text is, or where it would be inserted
    bool found = false;
};

// Binary search of a list sorted with the same comparer.
[[nodiscard]] SearchResult FindSorted(const QStringList &list, const QString &text,
                                      const StringComparer &comparer);

// Inserts into a kept-sorted list; an entry equal to one already present is
// dropped. Returns the insertion index, or -1 when dropped.
qsizetype InsertSorted(QStringList &list, const QString &text, const StringComparer &comparer);

void Sort(QStringList &list, const StringComparer &comparer);

// Sorts the index permutation of `count` items by `less`, for lists that carry
// parallel data. Stable.
[[nodiscard]] QList<qsizetype> SortedOrder(qsizetype count,
                                           const std::function<bool(qsizetype, qsizetype)> &less);

} // namespace StringLists
