#pragma once

#include "PendingLines.h"
#include "Rtf.h"

#include <Qsci/qsciscintillabase.h>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

// The rich-edit control the editor is built on, in that control's own terms,
// on a Scintilla view.
//
// Character positions count a line break as two characters (CR LF), as in the
// text the control returns; line numbers are 0-based. The view holds the text
// as UTF-8 with CR LF after every line but the last, so a position is the
// count of UTF-16 code units before it.
//
// Colours and font styles are Scintilla styles, one per distinct look, so
// styling is no edit: it adds no undo step, does not mark the text modified
// and raises no change notification. Edits carry the styles along: inserted
// text takes the style of the character before it, deleted text takes its
// style with it. Lines can be left to be styled later (StyleLines), when they
// come into view or when their styles are asked for.
//
// Notifications reach the handlers in the control's order, once the view has
// finished the operation that caused them: the selection change first, then
// the change. Every change is preceded by a selection notification, also when
// the edit left the selection where it was, so the selection the handlers saw
// last before a change is the one the edit replaced. Subclasses override
// SelectionChange() and Change(); the default handlers raise OnSelectionChange
// and OnChange.
class TRichEdit : public QsciScintillaBase {
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
    // The same from UTF-8, without a conversion to UTF-16 on the way.
    void setUtf8Text(const QByteArray &text);
    [[nodiscard]] QStringList lines() const;
    void setLines(const QStringList &lines);
    // An empty control has one empty line.
    [[nodiscard]] int lineCount() const;
    [[nodiscard]] QString line(int index) const;
    [[nodiscard]] int textLength() const;
    // The whole text as UTF-8 with LF line breaks, for readers that take
    // bytes: no conversion to UTF-16 on the way.
    [[nodiscard]] QByteArray utf8Text() const;
    // Grows with every change of the text.
    [[nodiscard]] int revision() const { return m_revision; }

    // EM_LINEINDEX: the position of the line's first character; -1 for a line
    // past the end, and the caret's line for -1.
    [[nodiscard]] int lineIndex(int line) const;
    // EM_LINEFROMCHAR: the line holding a position (a line break belongs to the
    // line it ends); the caret's line for -1.
    [[nodiscard]] int lineFromChar(int position) const;

    [[nodiscard]] int selStart() const;
    // The caret: the end of the selection the user moves.
    [[nodiscard]] int caretPosition() const;
    // Puts the caret at `start` with nothing selected.
    void setSelStart(int start);
    [[nodiscard]] int selLength() const;
    // Selects `length` characters from the selection start.
    void setSelLength(int length);
    // The caret ends at start + length; it is scrolled into view.
    void select(int start, int length);
    [[nodiscard]] QString selText() const;
    // Replaces the selection as typing would (an undo step); the caret ends
    // after the new text.
    void replaceSelection(const QString &text);
    // The editing operations, with their notifications delivered before they
    // return.
    void undo();
    void redo();
    void cut();
    void copy();
    void paste();
    [[nodiscard]] bool isUndoAvailable() const;
    [[nodiscard]] bool isRedoAvailable() const;
    // The text differs from the one last loaded.
    [[nodiscard]] bool isModified() const;

    [[nodiscard]] bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool readOnly);

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
    // Overlays styled ranges on one line; start and length count the line's
    // characters.
    struct LineRange {
        int start;
        int length;
        TextAttributes attributes;
    };
    void styleLine(int line, const std::vector<LineRange> &ranges);
    // Gives one line all its styles: `runs` cover it from its first character.
    void setLineRuns(int line, const LineRuns &runs);
    [[nodiscard]] TextAttributes attributesAt(int position) const;
    [[nodiscard]] LineRuns lineRuns(int line) const;

    // The view's indicators (wavy underlines and the like) over a range of
    // the text; they are no part of it and move with it.
    void fillIndicator(int indicator, int start, int length);
    void clearIndicator(int indicator, int start, int length);
    // The first position from `from` on that holds the indicator, -1 for none.
    [[nodiscard]] int findIndicator(int indicator, int from = 0) const;

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

    // The view. Points are in viewport coordinates.
    // The position nearest to a point.
    [[nodiscard]] int positionAt(const QPoint &point) const;
    // The caret's rectangle at a position, one pixel wide.
    [[nodiscard]] QRect positionRect(int position) const;
    [[nodiscard]] int firstVisibleLine() const;
    [[nodiscard]] int lastVisibleLine() const;
    void ensureCursorVisible();
    // Scrolls the range into view, the selection staying where it is.
    void scrollToRange(int start, int end);
    // Scrolls the caret's line into the middle of the view.
    void centerCursor();

    // Folding hides the lines of a block behind its first line. It is the
    // view's alone: the text, the undo history and the modified state never
    // see it. The blocks come from FoldLines. With folding on, a margin
    // beside the text shows them and a click there folds or unfolds one; a
    // selection made in a folded block unfolds it.
    void setFolding(bool on);
    [[nodiscard]] bool folding() const { return m_folding; }
    // Folds the innermost unfolded block holding `line` (a block holds the
    // line that opens it); a caret it hides moves to the block's first line.
    // False when there is none.
    bool fold(int line);
    // Unfolds the block that `line` opens, when it is folded.
    bool unfold(int line);
    // The line opens a block that is folded.
    [[nodiscard]] bool isFolded(int line) const;
    // The line is not hidden in a folded block.
    [[nodiscard]] bool isLineShown(int line) const;

    // For the key notifications: the key is not passed on to the control.
    void consumeKey() { m_keyConsumed = true; }

    // The program's request to repaint the whole control. The view's own
    // painting (typing, scrolling, uncovering) does not go through it.
    virtual void Invalidate();

signals:
    void OnChange();
    void OnSelectionChange();
    void OnKeyDown(QKeyEvent *event);
    void OnKeyPress(QKeyEvent *event);
    // A whole new text of `lineCount` lines replaces the old one, which is
    // gone; the new one is not yet in.
    void TextReplacing(int lineCount);
    // An edit left lines first..last (in the text as it is now) where the
    // lines it touched were; raised at once, for every edit, before the
    // notifications. A whole new text raises it for all its lines.
    void LinesEdited(int first, int last);
    // The view was painted; `painter` draws on the viewport over it.
    void Painted(QPainter &painter);

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
    // Styles lines first..last that were left to be styled later; called
    // before they are shown or their styles are read. By default they keep
    // the styles they have.
    virtual void StyleLines(int first, int last);
    // Leaves lines to StyleLines.
    void styleLater(int first, int last);
    // What reloadRuns does, every line left to StyleLines.
    void reloadStyledLater();
    // Styles now the lines among first..last left for later.
    void ensureStyled(int first, int last) const;
    // With folding on: gives lines first..last their fold levels
    // (SCI_SETFOLDLEVEL), each read on from the line before; called before
    // they are shown or folded, and again for the lines after an edit. By
    // default no line opens a block.
    virtual void FoldLines(int first, int last);
    // Brings the fold levels up to date up to line `last`.
    void ensureFolded(int last) const;
    // Moves a caret that a fold hid to the line that hides it.
    void keepCaretShown();
    // Folds every block whose first line `folds` (a line number) accepts,
    // but none inside a block it accepts; other folds stay as they are.
    void foldWhere(const std::function<bool(int)> &folds);

    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    QByteArray fromMimeData(const QMimeData *source, bool &rectangular) const override;
    QMimeData *toMimeData(const QByteArray &text, bool rectangular) const override;

    // Delivers pending notifications; every public operation ends with it.
    void FlushNotifications();

    // The first and last line, in the text as it is now, of the edits behind
    // the change being delivered; (-1, -1) after the whole text was replaced.
    [[nodiscard]] std::pair<int, int> changedLines() const { return m_changedLines; }

    // Between our positions (a line break counts two) and the view's bytes.
    [[nodiscard]] long toBytes(int position) const;
    [[nodiscard]] int fromBytes(long bytes) const;
    // The byte offsets of a line's characters: offsets[column] for every
    // column up to the line's length.
    [[nodiscard]] std::vector<int> columnBytes(int line) const;

private:
    // Lifts read-only for the program's own edits.
    class Writable;

    void setUpView();
    void applyLook();
    // The view reports an edit before it makes it (the report after would
    // cost a walk over the text before the edit); the edit is taken in once
    // it is made, at the next report or notification.
    void onModified(int position, int type, int length);
    void completeEdit() const;
    void addChangedLines(int first, int last, int linesAdded);
    void replaceAll(RichText &&content);
    // `bytes` as the view holds them, of `lines` lines.
    void replaceAll(QByteArray &&bytes, int lines, bool ascii, std::vector<LineRuns> &&runs);
    void replaceStyles(std::vector<LineRuns> &&runs);
    void restartView();
    void scheduleFlush();
    [[nodiscard]] bool typesCharacter(const QKeyEvent &event) const;
    [[nodiscard]] bool asciiText() const { return m_ascii; }
    void noteNonAscii();
    [[nodiscard]] std::pair<long, long> lineBytes(int line) const;
    [[nodiscard]] QByteArray lineUtf8(int line) const;
    // Keeps the view asking for styles from the first line left for later,
    // or whose fold level is out of date.
    void resetEndStyled() const;
    // Styles the lines shown up to `last` that wait.
    void styleShown(int last) const;
    void updateFoldMargin();
    void foldMarginClick(int position, int margin);
    // Unfolds the blocks that hide a line.
    void showLine(long line);

    // Styles: Scintilla style numbers for the looks in use. The view's styles
    // 32 to 39 are its own (line numbers, brace highlight...); ours take the
    // others.
    [[nodiscard]] static int StyleNumber(size_t index) { return index < 32 ? int(index) : int(index) + 8; }
    [[nodiscard]] int styleFor(const TextAttributes &attributes) const;
    void defineStyle(int number) const;
    [[nodiscard]] TextAttributes attributesOfStyle(int number) const;
    // Writes styles over bytes [start, start + styles.size()) without
    // changing what the view counts as styled.
    void writeStyles(long start, const QByteArray &styles) const;
    [[nodiscard]] QByteArray readStyles(long start, long length) const;
    [[nodiscard]] int insertionStyle(long position) const;

    mutable std::vector<TextAttributes> m_styles; // by index, see StyleNumber
    mutable size_t m_lastStyle = 0;
    QByteArray m_family;
    qreal m_points = 9;
    mutable PendingLines m_pending;
    mutable bool m_styling = false;
    bool m_folding = false;
    mutable bool m_foldingLines = false;
    // Lines from this one on may have out-of-date fold levels.
    mutable int m_foldFrom = 0;
    bool m_ascii = true;
    bool m_replacingAll = false;
    bool m_pendingChange = false;
    bool m_pendingSelection = false;
    bool m_flushScheduled = false;
    bool m_keyConsumed = false;
    bool m_hideSelection = false;
    bool m_readOnly = false;
    int m_zoom = 0;
    int m_eventDepth = 0;
    int m_revision = 0;
    int m_fontPoints = 0;
    long m_lastAnchor = -1;
    long m_lastCaret = -1;
    std::pair<int, int> m_pendingLines { -1, -1 };
    std::pair<int, int> m_changedLines { -1, -1 };
    struct Edit {
        bool insertion = false;
        long position = 0;
        long length = 0;
        int line = 0;
        int linesAdded = 0;
        QString removed; // for assistive technology, when it listens
    };
    mutable std::optional<Edit> m_edit;
    // The style for the next text typed at m_typingPosition (bytes).
    std::optional<int> m_typing;
    long m_typingPosition = -1;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRichEdit::FindOptions)

// A colour value as the control shows it: named system colours (top byte
// 0xFF) become the palette's colour for that role.
[[nodiscard]] QColor ColorFromValue(uint32_t color, const QPalette &palette);
