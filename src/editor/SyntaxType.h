#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

// One word class: how its words look, and once the colour table is built, its
// place in that table and the rich-text codes written around its words.
// Classes are shared (both editor controls hold the same objects) and live as
// long as anything refers to them.
class TSyntaxType {
public:
    TSyntaxType(uint32_t Color, uint8_t Style)
        : Color(Color)
        , Style(Style)
    {
    }

    uint32_t Color; // 0x00BBGGRR, or a named system colour (top byte 0xFF)
    uint8_t Style; // FontStyle bits: 1 bold, 2 italic, 4 underline
    int32_t ColorIndex = 0; // 1-based entry in the owning control's colour table
    QByteArray RtfOpen;
    QByteArray RtfClose;
    // What the codes set when the text is read back: the colour as the
    // colour table holds it and the style bits RtfOpen turns on (RtfClose
    // turns them off again).
    uint32_t RtfColor = 0;
    uint8_t RtfStyle = 0;
};

using SyntaxTypePtr = std::shared_ptr<TSyntaxType>;

// The six classes every control has besides those of its word list.
struct BuiltinClasses {
    SyntaxTypePtr Plain; // words found in no class
    SyntaxTypePtr Comment; // "//" to the end of the line
    SyntaxTypePtr String; // text inside double or single quotes
    SyntaxTypePtr Operator; // tokens that begin with a digit or an operator character
    SyntaxTypePtr Bracket; // runs of round and square brackets
    SyntaxTypePtr Match; // the bracket matching the one before the caret

    [[nodiscard]] static BuiltinClasses Create();
};

// A word and its class, as word lists are handed over.
struct WordClassPair {
    QString Word;
    SyntaxTypePtr WordClass;
};

using WordPairs = std::vector<WordClassPair>;
