#pragma once

#include "SyntaxType.h"
#include "platform/StringLists.h"

#include <vector>

// A control's word list: (word, class) entries in the order of the user's
// locale, case-insensitive until the list is switched for good to
// case-sensitive. The same word may stand in it more than once.
//
// Lookup has to cost far less than a locale-aware comparison per search step,
// yet agree with the sort order. Sorting compares the comparer's sort keys,
// computed once per entry (the same order as its comparison). In case-sensitive
// mode two entries compare equal only when their spellings are identical, so a
// hash index of exact spellings gives the same answers as a binary search; of
// several equal entries it holds the first in list order, which is also the one
// a binary search for the first equal entry finds. The index is a flat table
// probed in place: the highlighter looks up every word of a script. The case-insensitive mode
// only lasts while the lists are being loaded and searches the sorted entries.
class WordList {
public:
    struct Entry {
        QString word;
        SyntaxTypePtr wordClass;
        StringSortKey key;
    };

    WordList();

    // Appends the pairs in their order, then sorts the whole list.
    void AddWords(const WordPairs &words);
    // Switches the comparison and sorts again.
    void SetSensitivity(Qt::CaseSensitivity sensitivity);
    [[nodiscard]] Qt::CaseSensitivity Sensitivity() const { return m_sensitivity; }

    // The class of an entry equal to `word`, or null.
    [[nodiscard]] TSyntaxType *Find(QStringView word) const;

    [[nodiscard]] const std::vector<Entry> &Entries() const { return m_entries; }
    [[nodiscard]] qsizetype size() const { return qsizetype(m_entries.size()); }

private:
    void Sort();
    void RebuildIndex();

    Qt::CaseSensitivity m_sensitivity = Qt::CaseInsensitive;
    std::vector<Entry> m_entries;
    struct Slot {
        const char16_t *word = nullptr;
        uint32_t length = 0;
        uint32_t hash = 0;
        TSyntaxType *wordClass = nullptr;
        bool used = false;
    };
    std::vector<Slot> m_exact; // a power of two in size, at most half full

};
