#include "WordList.h"

#include "platform/StringLists.h"

#include <algorithm>

namespace {

std::u16string_view View(QStringView text)
{
    return { reinterpret_cast<const char16_t *>(text.utf16()), size_t(text.size()) };
}

} // namespace

WordList::WordList() = default;

void WordList::AddWords(const WordPairs &words)
{
    const QCollator &collator = StringComparer::ForMode(m_sensitivity).Collator();
    m_entries.reserve(m_entries.size() + words.size());
    for (const WordClassPair &pair : words)
        m_entries.push_back({ pair.Word, pair.WordClass, collator.sortKey(pair.Word) });
    Sort();
}

void WordList::SetSensitivity(Qt::CaseSensitivity sensitivity)
{
    m_sensitivity = sensitivity;
    const QCollator &collator = StringComparer::ForMode(m_sensitivity).Collator();
    for (Entry &entry : m_entries)
        entry.key = collator.sortKey(entry.word);
    Sort();
}

void WordList::Sort()
{
    const bool sensitive = m_sensitivity == Qt::CaseSensitive;
    std::stable_sort(m_entries.begin(), m_entries.end(), [sensitive](const Entry &a, const Entry &b) {
        const int c = a.key.compare(b.key);
        if (c != 0 || !sensitive)
            return c < 0;
        // As the case-sensitive comparer does: spellings the collator calls
        // equal are still told apart.
        return a.word < b.word;
    });
    RebuildIndex();
}

void WordList::RebuildIndex()
{
    m_exact.clear();
    if (m_sensitivity != Qt::CaseSensitive)
        return;
    m_exact.reserve(m_entries.size());
    for (const Entry &entry : m_entries)
        m_exact.emplace(View(entry.word), entry.wordClass.get()); // keeps the first
}

TSyntaxType *WordList::Find(QStringView word) const
{
    if (m_sensitivity == Qt::CaseSensitive) {
        const auto it = m_exact.find(View(word));
        return it == m_exact.end() ? nullptr : it->second;
    }
    const StringComparer &comparer = StringComparer::ForMode(m_sensitivity);
    const QString text = word.toString();
    size_t low = 0;
    size_t high = m_entries.size();
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (comparer.Compare(m_entries[mid].word, text) < 0)
            low = mid + 1;
        else
            high = mid;
    }
    if (low < m_entries.size() && comparer.Compare(m_entries[low].word, text) == 0)
        return m_entries[low].wordClass.get();
    return nullptr;
}
