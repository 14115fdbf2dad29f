#pragma once

#include "Highlighter.h"
#include "SyntaxType.h"
#include "WordClasses.h"
#include "platform/MarkOverlay.h"
#include "platform/RichEdit.h"

// The editor control: a rich-edit control with a word list and the
// highlighting engine, which colours its text line by line in place or
// regenerates and reloads the whole document as rich text. The whole-text
// colouring reaches a line when it is shown or its colours are read, so a
// large script opens without classifying every line first.
//
// With AutoHighlight on, every edit restyles the lines it touched; the bracket
// that matches the one before the caret is shown in the match class; Ctrl+V
// pastes the clipboard as plain text. OnSelectionChange and OnChange reach the
// owner before the control restyles, and never for its own restyling.
class TSyntaxEdit : public TRichEdit, public WordClassTarget {
    Q_OBJECT

public:
    explicit TSyntaxEdit(QWidget *AOwner = nullptr);

    // While false, Invalidate() does nothing.
    bool AllowInvalidate = false;
    // Every change restyles the changed lines.
    bool AutoHighlight = false;
    // Set by the owner while it replaces the whole text: the change that the
    // replacement raises highlights the whole text.
    bool LoadingText = false;

    void AddWords(const WordPairs &Words) override;
    [[nodiscard]] TSyntaxType *FindWordClass(QStringView Word) const;
    void RebuildHighlighting() override;
    // Restyles the whole text as reloading it from its rich text would; the
    // caret ends at the start. Nothing happens when there are no lines.
    // Each line gets its colours when it is shown or they are read.
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
    // The whole text as rich text, and the colour runs per line that reading
    // it back gives; HighlightAll loads the runs.
    [[nodiscard]] QByteArray HighlightDocument() const;
    [[nodiscard]] std::vector<LineRuns> HighlightRuns() const;

    void Invalidate() override;

    // Folds every function and method, with folding on.
    void FoldFunctions();

    // The check's marks over the text.
    [[nodiscard]] MarkOverlay &Marks() { return *m_marks; }
    [[nodiscard]] const MarkOverlay &Marks() const { return *m_marks; }

    // The selection lengths before and after the latest selection change:
    // when a change arrives, the previous one is the length of the text the
    // edit replaced.
    [[nodiscard]] int previousSelLength() const { return m_previousSelLength; }
    [[nodiscard]] int currentSelLength() const { return m_currentSelLength; }
    // The number of lines after the latest restyle.
    [[nodiscard]] int lastLineCount() const { return m_lastLineCount; }
    // The position of the bracket shown in the match class, -1 for none.
    [[nodiscard]] int matchPosition() const;

protected:
    void Change() override;
    void SelectionChange() override;
    void KeyDown(QKeyEvent *event) override;
    // The whole-text colouring of lines that come into view.
    void StyleLines(int first, int last) override;
    // The blocks of JASS and vJASS.
    void FoldLines(int first, int last) override;

    // While set, the change and selection handlers do nothing at all.
    bool m_highlighting = false;

private:
    [[nodiscard]] TextAttributes AttributesOf(const TSyntaxType &type) const;
    // Restyles a line's tokens without moving the selection; RtfText gets the
    // whitespace and "\par". Gives the last token's column and length (0 when
    // the line has none).
    std::pair<int, int> RestyleLine(int LineIndex, QByteArray &RtfText);
    // The partner of the bracket just before the selection start, on the same
    // line and outside strings and comments; -1 when there is none.
    [[nodiscard]] int FindMatch() const;
    void PasteClipboard();
    // Calls perLine(index, text) for every line.
    template<typename PerLine> void ForEachLine(PerLine perLine) const;

    SyntaxEngine m_engine;
    // The state each line leaves for the fold levels of the next.
    std::vector<int> m_foldStates;
    MarkOverlay *m_marks;
    int m_lastLineCount = 0;
    int m_previousSelLength = 0;
    int m_currentSelLength = 0;
    // An invisible indicator on the marked bracket follows it through edits;
    // a deleted bracket takes it along.
    void setMatch(int position);
};
