#pragma once

#include "Highlighter.h"
#include "SyntaxType.h"
#include "WordClasses.h"
#include "platform/RichEdit.h"

// The editor control: a rich-edit control with a word list and the
// highlighting engine, which colours its text line by line in place or
// regenerates and reloads the whole document as rich text.
class TSyntaxEdit : public TRichEdit, public WordClassTarget {
    Q_OBJECT

public:
    explicit TSyntaxEdit(QWidget *AOwner = nullptr);

    bool AllowInvalidate = false;
    bool AutoHighlight = false;
    bool LoadingText = false;

    void AddWords(const WordPairs &Words) override;
    [[nodiscard]] TSyntaxType *FindWordClass(QStringView Word) const;
    void RebuildHighlighting() override;
    // Regenerates the whole text as rich text and reloads the control from it;
    // the caret ends at the start. Nothing happens when there are no lines.
    void HighlightAll();
    // ToRtf: RtfText receives the line's rich text, the control is untouched.
    // InPlace: the line's tokens are restyled, the selection ends on the last
    // token, and RtfText receives only the whitespace and "\par".
    void HighlightLine(int LineIndex, HighlightMode Mode, QByteArray &RtfText);
    // Selects Length characters from Start and gives them the class's colour,
    // style and the control's font size.
    void StyleRange(int Start, int Length, const TSyntaxType &Type);

    [[nodiscard]] const BuiltinClasses &Builtins() const { return m_engine.Builtins(); }
    [[nodiscard]] const SyntaxEngine &Engine() const { return m_engine; }
    [[nodiscard]] QByteArray ColorTable() const { return m_engine.ColorTable(); }
    // The document HighlightAll loads.
    [[nodiscard]] QByteArray HighlightDocument() const;

protected:
    void Change() override;
    void SelectionChange() override;

    // While set, the change and selection handlers do nothing at all.
    bool m_highlighting = false;

private:
    [[nodiscard]] TextAttributes AttributesOf(const TSyntaxType &type) const;

    SyntaxEngine m_engine;
};
