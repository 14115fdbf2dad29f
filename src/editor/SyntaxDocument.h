#pragma once

#include "Highlighter.h"
#include "WordClasses.h"

#include <QStringList>

// The highlighter over a list of lines, without a control: what the editor
// would load is available to the command-line tools and to tests.
class SyntaxDocument : public WordClassTarget {
public:
    void AddWords(const WordPairs &Words) override { m_engine.AddWords(Words); }
    void RebuildHighlighting() override;

    [[nodiscard]] TSyntaxType *FindWordClass(QStringView Word) const { return m_engine.FindWordClass(Word); }

    void SetLines(const QStringList &lines) { m_lines = lines; }
    [[nodiscard]] const QStringList &Lines() const { return m_lines; }
    // The font size in points that the document names (the editor's is 9).
    void SetFontSize(int points) { m_fontSize = points; }
    [[nodiscard]] int FontSize() const { return m_fontSize; }

    // The whole rich-text document of the lines; empty when there are none.
    [[nodiscard]] QByteArray HighlightAll() const;
    // One line's rich text, "\par" included.
    [[nodiscard]] QByteArray HighlightLine(qsizetype lineIndex) const;

    [[nodiscard]] SyntaxEngine &Engine() { return m_engine; }
    [[nodiscard]] const SyntaxEngine &Engine() const { return m_engine; }

private:
    SyntaxEngine m_engine;
    QStringList m_lines;
    int m_fontSize = 9;
};
