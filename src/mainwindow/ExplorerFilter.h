#pragma once

#include "langdata/Catalogue.h"

#include <QString>

#include <array>
#include <vector>

// `text` with A-Z lowered and every other character kept.
[[nodiscard]] QString AsciiLower(const QString &text);

// The explorer's filter over the four categories of the catalogue. A
// declaration passes when the first characters of its name equal the search
// text with ASCII case ignored, and, while a type is chosen, when its type
// (the last word of a function line, the declared type of a constant or
// global) equals that type exactly.
//
// The shown lists come out as adding the passing declarations in load order to
// the kept-sorted lists would leave them: sorted by name, the first of several
// equal names (case ignored) kept, each line beside its name. The order by
// name is worked out once per loaded catalogue, so a change of the search text
// costs no locale comparisons.
class ExplorerFilter {
public:
    // Orders the loaded categories by name ahead of the first Apply.
    void Prepare(const Catalogue &catalogue);
    void Apply(Catalogue &catalogue, const QString &search, const QString &typeFilter);

private:
    struct Entry {
        qsizetype index; // into Names and Lines
        QString lowerName; // the name, ASCII lower case
        QString type;
        bool firstOfName; // the first entry of a run of equal names
    };
    struct CategoryIndex {
        // The loaded Names these entries were made from; they never change
        // after loading, so their storage tells a new load from the old one.
        const QString *names = nullptr;
        qsizetype count = -1;
        std::vector<Entry> entries;
    };

    const CategoryIndex &indexOf(CategoryKind kind, const DeclarationCategory &category);

    std::array<CategoryIndex, kCategoryCount> m_index;
};
