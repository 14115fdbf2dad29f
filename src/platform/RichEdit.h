#pragma once

#include "Rtf.h"
#include "RunsModel.h"

#include <QPlainTextEdit>

#include <optional>
#include <utility>
#include <vector>

class QTextBlock;

// The rich-edit control the editor is built on, in that control's own terms.
//
// Character positions count a line break as two characters (CR LF), as in the
// text the control returns; line numbers are 0-based. Colours and font styles
// live in a model of our own, one run list per line, shown through the line
// layouts: styling never touches the document, so it adds no undo step, does
// not mark the document modified and raises no change notification. Edits
// carry the runs along: inserted text takes the style of the character before
// it, deleted text takes its style with it.
//
// Notifications reach the handlers in the control's order, once the toolkit has
// finished the operation that caused them: the selection change first, then
// the change. Every change is preceded by a selection notification, also when
// the edit left the selection where it was, so the selection the handlers saw
// last before a change is the one the edit replaced. Subclasses override
// SelectionChange() and Change(); the default handlers raise OnSelectionChange
// and OnChange.
class TRichEdit : public QPlainTextEdit {
    Q_OBJECT

public:
    enum class FileFormat { RichText, PlainText };
    enum FindOption { FindWholeWord = 1, FindMatchCase = 2 };
    Q_DECLARE_FLAGS(FindOptions, FindOption)

    explicit TRichEdit(QWidget *parent = nullptr);
    ~TRichEdit() override;

    // The whole text, lines joined by CR LF. Setting it accepts CR LF, LF or
    // CR as line breaks.
    [[nodiscard]] QString text() const;
    void setText(const QString &text);
    [[nodiscard]] QStringList lines() const;
    void setLines(const QStringList &lines);
    // An empty control has one empty line.
    [[nodiscard]] int lineCount() const;
    [[nodiscard]] QString line(int index) const;
    [[nodiscard]] int textLength() const;

    // EM_LINEINDEX: the position of the line's first character; -1 for a line
    // past the end, and the caret's line for -1.
    [[nodiscard]] int lineIndex(int line) const;
    // EM_LINEFROMCHAR: the line holding a position (a line break belongs to the
    // line it ends); the caret's line for -1.
    [[nodiscard]] int lineFromChar(int position) const;

    [[nodiscard]] int selStart() const;
    // Puts the caret at `start` with nothing selected.
    void setSelStart(int start);
    [[nodiscard]] int selLength() const;
    // Selects `length` characters from the selection start.
    void setSelLength(int length);
    void select(int start, int length);
    [[nodiscard]] QString selText() const;
    // Replaces the selection as typing would (an undo step); the caret ends
    // after the new text.
    void replaceSelection(const QString &text);
    // The toolkit's editing operations, with their notifications delivered
    // before they return.
    void undo();
    void redo();
    void cut();
    void paste();

    // The attributes of the selection's first character; for an empty
    // selection, those the next typed text gets.
    [[nodiscard]] TextAttributes selAttributes() const;
    // Styles the selection; for an empty selection, the next typed text.
    void setSelAttributes(const TextAttributes &attributes);
    void setSelColor(uint32_t color);
    void setSelStyle(uint8_t style);
    void setSelSize(int points);

    // Styles a range without moving the selection.
    void setRangeAttributes(int start, int length, const TextAttributes &attributes);
    // Overlays styled ranges (start, length within the line) on one line.
    using LineRange = RunsModel::LineRange;
    void styleLine(int line, const std::vector<LineRange> &ranges);
    [[nodiscard]] TextAttributes attributesAt(int position) const;
    [[nodiscard]] const LineRuns &lineRuns(int line) const;

    // The font's own size, which the styles and the rich text keep.
    [[nodiscard]] int fontSize() const;
    void setFontSize(int points);
    // The text is shown `points` larger than the font's own size (smaller
    // when negative); a matter of the view alone.
    [[nodiscard]] int zoom() const { return m_zoom; }
    void setZoom(int points);
    // While the control has no focus its selection is not shown: every
    // character keeps its colour and style.
    [[nodiscard]] bool hideSelection() const { return m_hideSelection; }
    void setHideSelection(bool hide);

    // The content with its styles, and loading it back.
    [[nodiscard]] RichText richText() const;
    [[nodiscard]] QByteArray rtf() const;
    void loadRtf(const QByteArray &rtf);
    // The same; the document is released once read.
    void loadRtf(QByteArray &&rtf);
    // Loads the styles of the text the control holds, one run list per line,
    // as loading that text with them would: the caret goes to the start, the
    // undo history is cleared and a change is notified. A list of another
    // line count leaves every line unstyled.
    void reloadRuns(std::vector<LineRuns> &&runs);
    // Rich text when the file starts with "{\rtf", plain text otherwise.
    void loadFromFile(const QString &fileName);
    void saveToFile(const QString &fileName, FileFormat format = FileFormat::RichText) const;

    // A forward search in [start, start + length) (length -1: to the end);
    // the position of the match or -1. Whole words are bounded by characters
    // other than letters, digits and "_".
    [[nodiscard]] int findText(const QString &what, int start, int length, FindOptions options) const;

    // For the key notifications: the key is not passed on to the control.
    void consumeKey() { m_keyConsumed = true; }

    // The program's request to repaint the whole control. The toolkit's own
    // painting (typing, scrolling, uncovering) does not go through it.
    virtual void Invalidate();

signals:
    void OnChange();
    void OnSelectionChange();
    void OnKeyDown(QKeyEvent *event);
    void OnKeyPress(QKeyEvent *event);
    // A whole new text of about `lineCount` lines replaces the document; the
    // old text is gone and the new one not yet in. Whatever is sized by the
    // line count resizes here: a change of the viewport's width lays out
    // every line the document holds, and now it holds none.
    void TextReplacing(int lineCount);

protected:
    // The change handler, after every change of the text.
    virtual void Change();
    // The selection handler, after every change of the selection.
    virtual void SelectionChange();
    // The key handler, for every key pressed; raises OnKeyDown. Calling
    // consumeKey() keeps the key from OnKeyPress and from the control.
    // OnKeyPress follows for a key that types a character; a line break's
    // character ("\r") only comes with a key that breaks the line. No key
    // types U+2028 or U+2029: Shift+Enter, and any key that would type one,
    // arrives as Enter.
    virtual void KeyDown(QKeyEvent *event);

    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

    // Delivers pending notifications; every public operation ends with it.
    void FlushNotifications();

    // The first and last line, in the text as it is now, of the edits behind
    // the change being delivered; (-1, -1) after the whole text was replaced.
    [[nodiscard]] std::pair<int, int> changedLines() const { return m_changedLines; }

    // Between our positions (a line break counts two) and the document's.
    [[nodiscard]] int toDocument(int position) const;
    [[nodiscard]] int toRich(int documentPosition) const;

private:
    void onContentsChange(int position, int removed, int added);
    void addChangedLines(int first, int last, int linesAdded);
    void resetModel();
    [[nodiscard]] std::vector<int32_t> lineLengths() const;
    void replaceAll(RichText &&content);
    void replaceRuns(std::vector<LineRuns> &&runs);
    [[nodiscard]] bool holdsText(const QString &text) const;
    void restartOnSameText();
    void showLine(const QTextBlock &block);
    // The columns of a laid-out line at the left and right edge of the view;
    // all of them for a wrapped line.
    [[nodiscard]] std::pair<int, int> visibleColumns(const QTextBlock &block) const;
    void invalidateShown();
    void scheduleFlush();
    [[nodiscard]] bool typesCharacter(const QKeyEvent &event) const;
    // Hide-selection, no focus and a selection, which is then not painted.
    [[nodiscard]] bool selectionHidden() const;
    void paintLines(const QRect &area);
    void setTyping(const TextAttributes &attributes);

    RunsModel m_lines;
    bool m_replacingAll = false;
    bool m_pendingChange = false;
    bool m_pendingSelection = false;
    bool m_flushScheduled = false;
    bool m_keyConsumed = false;
    bool m_hideSelection = false;
    int m_zoom = 0;
    int m_eventDepth = 0;
    std::pair<int, int> m_pendingLines { -1, -1 };
    std::pair<int, int> m_changedLines { -1, -1 };
    // Attributes for the next text typed at m_typingPosition (document position).
    std::optional<TextAttributes> m_typing;
    int m_typingPosition = -1;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRichEdit::FindOptions)

// A colour value as the control shows it: named system colours (top byte
// 0xFF) become the palette's colour for that role.
[[nodiscard]] QColor ColorFromValue(uint32_t color, const QPalette &palette);
