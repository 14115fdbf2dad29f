#include "WordList.h"

#include "platform/StringLists.h"

#include <algorithm>

namespace {

uint32_t HashWord(QStringView word)
{
    uint32_t h = 2166136261u; // FNV-1a over the UTF-16 code units
    for (const QChar c : word) {
        h ^= c.unicode();
        h *= 16777619u;
    }
    return h;
}

} // namespace

WordList::WordList() = default;

void WordList::AddWords(const WordPairs &words)
{
    const StringComparer &comparer = StringComparer::ForMode(m_sensitivity);
    m_entries.reserve(m_entries.size() + words.size());
    for (const WordClassPair &pair : words)
        m_entries.push_back({ pair.Word, pair.WordClass, comparer.SortKey(pair.Word) });
    Sort();
}

void WordList::SetSensitivity(Qt::CaseSensitivity sensitivity)
{
    m_sensitivity = sensitivity;
    const StringComparer &comparer = StringComparer::ForMode(m_sensitivity);
    for (Entry &entry : m_entries)
        entry.key = comparer.SortKey(entry.word);
    Sort();
}

void WordList::Sort()
{
    std::stable_sort(m_entries.begin(), m_entries.end(),
        [](const Entry &a, const Entry &b) { return a.key.compare(b.key) < 0; });
    RebuildIndex();
}

void WordList::RebuildIndex()
{
    m_exact.clear();
    if (m_sensitivity != Qt::CaseSensitive)
        return;
    size_t capacity = 16;
    while (capacity < m_entries.size() * 2)
        capacity *= 2;
    m_exact.assign(capacity, Slot());
    const size_t mask = capacity - 1;
    for (const Entry &entry : m_entries) {
        const QStringView word = entry.word;
        const uint32_t hash = HashWord(word);
        size_t i = hash & mask;
        bool present = false;
        for (; m_exact[i].used; i = (i + 1) & mask) {
            const Slot &slot = m_exact[i];
            if (slot.hash == hash && QStringView(slot.word, slot.length) == word) {
                present = true; // keeps the first
                break;
            }
        }
        if (!present) {
            m_exact[i] = { reinterpret_cast<const char16_t *>(word.utf16()), uint32_t(word.size()), hash,
                entry.wordClass.get(), true };
        }
    }
}

TSyntaxType *WordList::Find(QStringView word) const
{
    if (m_sensitivity == Qt::CaseSensitive) {
        if (m_exact.empty())
            return nullptr;
        const uint32_t hash = HashWord(word);
        const size_t mask = m_exact.size() - 1;
        for (size_t i = hash & mask; m_exact[i].used; i = (i + 1) & mask) {
            const Slot &slot = m_exact[i];
            if (slot.hash == hash && slot.length == size_t(word.size())
                && std::equal(word.begin(), word.end(), reinterpret_cast<const QChar *>(slot.word)))
                return slot.wordClass;
        }
        return nullptr;
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
