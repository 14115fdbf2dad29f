#include "RichEdit.h"

#include "Colors.h"
#include "Errors.h"
#include "TextFile.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>

namespace {

QString NormalizeBreaks(QString text)
{
    if (!text.contains(u'\r'))
        return text;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

bool IsWordChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// A key that would type U+2028 or U+2029, the toolkit's separators: Shift+Enter
// types the first, which breaks the line on the screen only.
bool TypesSeparator(const QKeyEvent &event)
{
    const QString text = event.text();
    const bool separator = text == QChar::LineSeparator || text == QChar::ParagraphSeparator;
    return separator || event.matches(QKeySequence::InsertLineSeparator);
}

// Laying out a line costs in proportion to its format ranges, and a long line
// of code holds one every few characters: a line longer than this shows the
// colours of the columns in view and of a margin either side, and gets those
// of the next columns when it is scrolled beyond them.
constexpr int kLongLine = 1024;
constexpr int kLongLineMargin = 256;

} // namespace

QColor ColorFromValue(uint32_t color, const QPalette &palette)
{
    if (Colors::IsSystemColor(color)) {
        QPalette::ColorRole role = QPalette::Text;
        switch (color & 0xFF) {
        case 1:
        case 4:
        case 11:
        case 12:
        case 30:
            role = QPalette::Window;
            break;
        case 2:
        case 13:
        case 27:
        case 29:
            role = QPalette::Highlight;
            break;
        case 9:
        case 14:
            role = QPalette::HighlightedText;
            break;
        case 5:
            role = QPalette::Base;
            break;
        case 6: // clWindowFrame: frames are drawn in the window's text colour, black by default
        case 7:
            role = QPalette::WindowText;
            break;
        case 15:
        case 0:
        case 3:
        case 10:
        case 28:
            role = QPalette::Button;
            break;
        case 16:
            role = QPalette::Dark;
            break;
        case 17:
        case 19:
            return palette.color(QPalette::Disabled, QPalette::Text);
        case 18:
            role = QPalette::ButtonText;
            break;
        case 20:
            role = QPalette::Light;
            break;
        case 21:
            role = QPalette::Shadow;
            break;
        case 22:
            role = QPalette::Midlight;
            break;
        case 23:
            role = QPalette::ToolTipText;
            break;
        case 24:
            role = QPalette::ToolTipBase;
            break;
        case 26:
            role = QPalette::Link;
            break;
        default:
            role = QPalette::Text;
            break;
        }
        return palette.color(QPalette::Active, role);
    }
    if (color == Colors::None || color == Colors::Default)
        return palette.color(QPalette::Active, QPalette::Text);
    return QColor(Colors::Red(color), Colors::Green(color), Colors::Blue(color));
}

TRichEdit::TRichEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    connect(document(), &QTextDocument::contentsChange, this, &TRichEdit::onContentsChange);
    auto selectionMoved = [this] {
        if (m_typing && textCursor().position() != m_typingPosition)
            m_typing.reset();
        m_pendingSelection = true;
        scheduleFlush();
    };
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, selectionMoved);
    connect(this, &QPlainTextEdit::selectionChanged, this, selectionMoved);
}

TRichEdit::~TRichEdit() = default;

// Text and lines

QString TRichEdit::text() const
{
    QString out;
    out.reserve(document()->characterCount() + document()->blockCount());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        if (block != document()->begin())
            out.append(QLatin1String("\r\n"));
        out.append(block.text());
    }
    return out;
}

void TRichEdit::setText(const QString &text)
{
    RichText content;
    content.text = NormalizeBreaks(text);
    replaceAll(std::move(content));
    FlushNotifications();
}

QStringList TRichEdit::lines() const
{
    QStringList out;
    out.reserve(document()->blockCount());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        out.append(block.text());
    return out;
}

void TRichEdit::setLines(const QStringList &lines)
{
    RichText content;
    content.text = NormalizeBreaks(lines.join(QLatin1Char('\n')));
    replaceAll(std::move(content));
    FlushNotifications();
}

int TRichEdit::lineCount() const
{
    return document()->blockCount();
}

QString TRichEdit::line(int index) const
{
    const QTextBlock block = document()->findBlockByNumber(index);
    return block.isValid() ? block.text() : QString();
}

int TRichEdit::textLength() const
{
    return document()->characterCount() - 1 + document()->blockCount() - 1;
}

// Positions

int TRichEdit::lineIndex(int line) const
{
    if (line == -1)
        line = textCursor().blockNumber();
    const QTextBlock block = document()->findBlockByNumber(line);
    return line >= 0 && block.isValid() ? block.position() + line : -1;
}

int TRichEdit::lineFromChar(int position) const
{
    if (position < 0)
        return textCursor().blockNumber();
    int low = 0;
    int high = lineCount() - 1;
    while (low < high) {
        const int mid = low + (high - low + 1) / 2;
        if (document()->findBlockByNumber(mid).position() + mid <= position)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

int TRichEdit::toDocument(int position) const
{
    position = std::clamp(position, 0, textLength());
    const int line = lineFromChar(position);
    const QTextBlock block = document()->findBlockByNumber(line);
    const int column = std::min(position - (block.position() + line), block.length() - 1);
    return block.position() + column;
}

int TRichEdit::toRich(int documentPosition) const
{
    return documentPosition + document()->findBlock(documentPosition).blockNumber();
}

// Selection

int TRichEdit::selStart() const
{
    return toRich(textCursor().selectionStart());
}

void TRichEdit::setSelStart(int start)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toDocument(start));
    setTextCursor(cursor);
    FlushNotifications();
}

int TRichEdit::selLength() const
{
    const QTextCursor cursor = textCursor();
    return toRich(cursor.selectionEnd()) - toRich(cursor.selectionStart());
}

void TRichEdit::setSelLength(int length)
{
    select(selStart(), length);
}

void TRichEdit::select(int start, int length)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(toDocument(start));
    cursor.setPosition(toDocument(start + std::max(length, 0)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
    FlushNotifications();
}

QString TRichEdit::selText() const
{
    QString text = textCursor().selectedText();
    text.replace(QChar::ParagraphSeparator, QLatin1String("\r\n"));
    return text;
}

void TRichEdit::replaceSelection(const QString &text)
{
    QTextCursor cursor = textCursor();
    cursor.insertText(NormalizeBreaks(text));
    setTextCursor(cursor);
    FlushNotifications();
}

void TRichEdit::undo()
{
    QPlainTextEdit::undo();
    FlushNotifications();
}

void TRichEdit::redo()
{
    QPlainTextEdit::redo();
    FlushNotifications();
}

void TRichEdit::cut()
{
    QPlainTextEdit::cut();
    FlushNotifications();
}

void TRichEdit::paste()
{
    QPlainTextEdit::paste();
    FlushNotifications();
}

// Styles

TextAttributes TRichEdit::attributesAt(int position) const
{
    const int line = lineFromChar(position);
    const int column = position - lineIndex(line);
    return m_lines.AttributesAt(line, column);
}

const LineRuns &TRichEdit::lineRuns(int line) const
{
    return m_lines.Runs(line);
}

TextAttributes TRichEdit::selAttributes() const
{
    TextAttributes attributes;
    const QTextCursor cursor = textCursor();
    if (cursor.hasSelection()) {
        attributes = attributesAt(selStart());
    } else if (m_typing && cursor.position() == m_typingPosition) {
        attributes = *m_typing;
    } else {
        const QTextBlock block = cursor.block();
        attributes = m_lines.InsertionAttributes(block.blockNumber(), cursor.position() - block.position());
    }
    if (attributes.halfPoints == 0)
        attributes.halfPoints = uint16_t(fontSize() * 2);
    return attributes;
}

void TRichEdit::setTyping(const TextAttributes &attributes)
{
    m_typing = attributes;
    m_typingPosition = textCursor().position();
}

void TRichEdit::setSelAttributes(const TextAttributes &attributes)
{
    if (!textCursor().hasSelection())
        setTyping(attributes);
    else
        setRangeAttributes(selStart(), selLength(), attributes);
}

void TRichEdit::setSelColor(uint32_t color)
{
    TextAttributes a = selAttributes();
    a.color = color;
    setSelAttributes(a);
}

void TRichEdit::setSelStyle(uint8_t style)
{
    TextAttributes a = selAttributes();
    a.style = style;
    setSelAttributes(a);
}

void TRichEdit::setSelSize(int points)
{
    TextAttributes a = selAttributes();
    a.halfPoints = uint16_t(std::clamp(points * 2, 1, 0xFFFF));
    setSelAttributes(a);
}

void TRichEdit::setRangeAttributes(int start, int length, const TextAttributes &attributes)
{
    if (length <= 0)
        return;
    start = std::clamp(start, 0, textLength());
    const int end = std::min(start + length, textLength());
    const int last = lineFromChar(std::max(end - 1, start));
    for (int line = lineFromChar(start); line <= last; ++line) {
        const int lineStart = lineIndex(line);
        const int lineLength = m_lines[size_t(line)].length;
        const int s = std::max(start, lineStart) - lineStart;
        const int e = std::min(end, lineStart + lineLength) - lineStart;
        if (e > s)
            styleLine(line, { { s, e - s, attributes } });
    }
}

void TRichEdit::styleLine(int line, const std::vector<LineRange> &ranges)
{
    if (m_lines.StyleLine(line, ranges))
        viewport()->update();
}

int TRichEdit::fontSize() const
{
    const QFont f = font();
    if (f.pointSize() > 0)
        return f.pointSize() - m_zoom;
    return std::max(1, f.pixelSize() * 72 / 96);
}

void TRichEdit::setFontSize(int points)
{
    QFont f = font();
    f.setPointSize(std::max(1, points + m_zoom));
    setFont(f);
}

void TRichEdit::setZoom(int points)
{
    // From 4 points (or the font's own size, when smaller) to four times that.
    const int size = fontSize();
    points = std::clamp(points, std::min(0, 4 - size), 3 * size);
    if (points == m_zoom)
        return;
    QFont f = font();
    f.setPointSize(size + points);
    m_zoom = points;
    setFont(f);
}

void TRichEdit::setHideSelection(bool hide)
{
    m_hideSelection = hide;
    viewport()->update();
}

bool TRichEdit::selectionHidden() const
{
    return m_hideSelection && !hasFocus() && textCursor().hasSelection();
}

// Rich text and files

RichText TRichEdit::richText() const
{
    RichText content;
    content.text = lines().join(QLatin1Char('\n'));
    content.lines.reserve(m_lines.size());
    for (size_t i = 0; i < m_lines.size(); ++i)
        content.lines.push_back(m_lines[i].runs);
    return content;
}

QByteArray TRichEdit::rtf() const
{
    return Rtf::Write(richText(), fontSize() * 2);
}

void TRichEdit::loadRtf(const QByteArray &rtf)
{
    replaceAll(Rtf::Read(rtf));
    FlushNotifications();
}

void TRichEdit::loadRtf(QByteArray &&rtf)
{
    RichText content = Rtf::Read(rtf);
    rtf = QByteArray(); // not held while the control fills
    replaceAll(std::move(content));
    FlushNotifications();
}

void TRichEdit::loadFromFile(const QString &fileName)
{
    const QByteArray bytes = TextFile::ReadBytes(fileName);
    if (Rtf::LooksLikeRtf(bytes))
        loadRtf(bytes);
    else
        setText(TextFile::DecodeScriptText(bytes).text);
}

void TRichEdit::saveToFile(const QString &fileName, FileFormat format) const
{
    if (format == FileFormat::RichText)
        TextFile::WriteBytes(fileName, rtf());
    else
        TextFile::SaveLines(fileName, lines());
}

bool TRichEdit::holdsText(const QString &text) const
{
    // Line by line: a copy of the whole document would add to the peak of
    // loading a large text.
    const QTextDocument *doc = document();
    if (text.size() != doc->characterCount() - 1)
        return false;
    const QStringView all(text);
    qsizetype from = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin()) {
            if (from >= all.size() || all[from] != u'\n')
                return false;
            ++from;
        }
        const QString line = block.text();
        if (from + line.size() > all.size() || all.mid(from, line.size()) != line)
            return false;
        from += line.size();
    }
    return from == all.size();
}

// What setPlainText does to all but the text, for a text the document already
// holds: the caret at the start, scrolled to the top, no undo history, not
// modified, a change and a selection notification.
void TRichEdit::restartOnSameText()
{
    document()->clearUndoRedoStacks();
    document()->setModified(false);
    setTextCursor(QTextCursor(document()));
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    m_pendingSelection = true;
    scheduleFlush();
}

void TRichEdit::replaceAll(RichText &&content)
{
    // Reloading the text the control shows (the highlighter's whole-text
    // colouring) keeps the document and its line layouts and replaces only
    // the runs: the toolkit rebuilding a large document costs far more than
    // the comparison.
    if (holdsText(content.text)) {
        replaceRuns(std::move(content.lines));
        return;
    }
    m_replacingAll = true;
    document()->clear();
    emit TextReplacing(int(content.text.count(u'\n')) + 1);
    setPlainText(content.text);
    m_replacingAll = false;
    m_pendingLines = { -1, -1 };
    m_typing.reset();
    std::vector<int32_t> lengths = lineLengths();
    m_lines.Reset(
        lengths.size(), [&lengths](size_t i) { return lengths[i]; }, std::move(content.lines));
    m_pendingChange = true;
    viewport()->update();
}

void TRichEdit::replaceRuns(std::vector<LineRuns> &&runs)
{
    restartOnSameText();
    m_pendingLines = { -1, -1 };
    m_typing.reset();
    if (m_lines.size() != size_t(document()->blockCount()))
        resetModel();
    const bool matches = runs.size() == m_lines.size();
    for (size_t i = 0; i < m_lines.size(); ++i) {
        m_lines[i].runs = matches ? std::move(runs[i]) : LineRuns();
        m_lines[i].shown = false;
    }
    m_pendingChange = true;
    viewport()->update();
}

void TRichEdit::reloadRuns(std::vector<LineRuns> &&runs)
{
    replaceRuns(std::move(runs));
    FlushNotifications();
}

std::vector<int32_t> TRichEdit::lineLengths() const
{
    std::vector<int32_t> lengths;
    lengths.reserve(size_t(document()->blockCount()));
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        lengths.push_back(block.length() - 1);
    return lengths;
}

void TRichEdit::resetModel()
{
    const std::vector<int32_t> lengths = lineLengths();
    m_lines.Reset(lengths.size(), [&lengths](size_t i) { return lengths[i]; });
}

// Carries the runs along an edit the document reports as: at `position`,
// `removed` characters replaced by `added` (a line break counts one here).
void TRichEdit::onContentsChange(int position, int removed, int added)
{
    m_pendingChange = true;
    m_pendingSelection = true;
    scheduleFlush();
    if (m_replacingAll)
        return;
    QTextDocument *doc = document();
    const int oldCount = int(m_lines.size());
    const int newCount = doc->blockCount();
    const QTextBlock first = doc->findBlock(position);
    QTextBlock lastBlock = doc->findBlock(position + added);
    if (!lastBlock.isValid())
        lastBlock = doc->lastBlock();
    addChangedLines(first.isValid() ? first.blockNumber() : 0, lastBlock.blockNumber(), newCount - oldCount);
    if (!first.isValid() || first.blockNumber() >= oldCount) {
        resetModel();
        return;
    }
    const int line = first.blockNumber();
    const int column = position - first.position();
    const int newLines = std::max(0, lastBlock.blockNumber() - line + 1);
    std::vector<int32_t> lengths;
    lengths.reserve(size_t(newLines));
    QTextBlock block = first;
    for (int i = 0; i < newLines && block.isValid(); ++i, block = block.next())
        lengths.push_back(block.length() - 1);
    const TextAttributes inserted = (m_typing && position == m_typingPosition && added > 0)
        ? *m_typing
        : m_lines.InsertionAttributes(line, column);
    if (!m_lines.ApplyEdit(line, column, removed, lengths, size_t(newCount), inserted))
        resetModel();
}

// Merges an edit's lines into those of the pending change; the lines of
// earlier edits move with the lines this one added or removed.
void TRichEdit::addChangedLines(int first, int last, int linesAdded)
{
    if (m_pendingLines.first < 0) {
        m_pendingLines = { first, last };
        return;
    }
    auto shift = [&](int line) { return line > first ? std::max(first, line + linesAdded) : line; };
    m_pendingLines
        = { std::min(shift(m_pendingLines.first), first), std::max(shift(m_pendingLines.second), last) };
}

// Showing the runs

void TRichEdit::showLine(const QTextBlock &block)
{
    const int number = block.blockNumber();
    if (number < 0 || size_t(number) >= m_lines.size())
        return;
    RunsModel::Line &style = m_lines[size_t(number)];
    int from = 0;
    int to = style.length;
    if (style.length > kLongLine) {
        const auto [left, right] = visibleColumns(block);
        from = std::max(0, left - kLongLineMargin);
        to = std::min(style.length, right + kLongLineMargin);
    }
    QList<QTextLayout::FormatRange> ranges;
    const QPalette p = palette();
    const int ownHalfPoints = fontSize() * 2;
    int at = 0;
    for (const StyleRun &run : style.runs) {
        const int start = std::max(at, from);
        const int length = std::min(at + run.length, to) - start;
        at += run.length;
        if (at <= from)
            continue;
        if (length <= 0)
            break;
        QTextCharFormat format;
        format.setForeground(ColorFromValue(run.attributes.color, p));
        if (run.attributes.style & FontStyle::Bold)
            format.setFontWeight(QFont::Bold);
        if (run.attributes.style & FontStyle::Italic)
            format.setFontItalic(true);
        if (run.attributes.style & FontStyle::Underline)
            format.setFontUnderline(true);
        if (run.attributes.halfPoints != 0 && run.attributes.halfPoints != ownHalfPoints)
            format.setFontPointSize(std::max(1.0, run.attributes.halfPoints / 2.0 + m_zoom));
        ranges.append({ start, length, format });
    }
    block.layout()->setFormats(ranges);
    // Relayouts the line at once; it is no edit, so no undo step, no change
    // notification and no modified flag.
    document()->markContentsDirty(block.position(), block.length());
    style.shown = true;
    style.shownFrom = from;
    style.shownTo = to;
}

std::pair<int, int> TRichEdit::visibleColumns(const QTextBlock &block) const
{
    const QTextLayout *layout = block.layout();
    if (layout == nullptr || layout->lineCount() == 0)
        return { 0, 0 };
    // A wrapped line is in view from its first column to its last.
    if (layout->lineCount() > 1)
        return { 0, block.length() - 1 };
    const QTextLine line = layout->lineAt(0);
    const qreal left = -contentOffset().x();
    return { line.xToCursor(left), line.xToCursor(left + viewport()->width()) };
}

void TRichEdit::invalidateShown()
{
    m_lines.HideAll();
    viewport()->update();
}

void TRichEdit::paintEvent(QPaintEvent *event)
{
    // Only the lines about to be painted get their formats.
    QTextBlock block = firstVisibleBlock();
    const QPointF offset = contentOffset();
    const qreal bottom = viewport()->height();
    qreal top = blockBoundingGeometry(block).translated(offset).top();
    while (block.isValid() && top <= bottom) {
        const int number = block.blockNumber();
        if (size_t(number) < m_lines.size()) {
            const RunsModel::Line &style = m_lines[size_t(number)];
            bool show = !style.shown;
            if (style.length > kLongLine) {
                blockBoundingRect(block); // lays the line out, for its columns
                const auto [left, right] = visibleColumns(block);
                show = show || left < style.shownFrom || std::min(right, style.length) > style.shownTo;
            }
            if (show)
                showLine(block);
        }
        top += blockBoundingRect(block).height();
        block = block.next();
    }
    if (selectionHidden())
        paintLines(event->rect());
    else
        QPlainTextEdit::paintEvent(event);
}

// The toolkit paints a selection over the characters' own colours, also when
// the control has no focus; a hidden one leaves the lines as they are.
void TRichEdit::paintLines(const QRect &area)
{
    QPainter painter(viewport());
    painter.setClipRect(area);
    const int marker = getPaintContext().cursorPosition; // a drop marker, while dragging
    QPointF offset = contentOffset();
    for (QTextBlock block = firstVisibleBlock(); block.isValid() && offset.y() <= area.bottom();
         block = block.next()) {
        const QRectF bounds = blockBoundingRect(block).translated(offset);
        if (block.isVisible() && bounds.bottom() >= area.top()) {
            block.layout()->draw(&painter, offset, {}, area);
            if (marker >= block.position() && marker < block.position() + block.length())
                block.layout()->drawCursor(&painter, offset, marker - block.position(), cursorWidth());
        }
        offset.ry() += bounds.height();
    }
}

// Notifications

void TRichEdit::Change()
{
    emit OnChange();
}

void TRichEdit::SelectionChange()
{
    emit OnSelectionChange();
}

void TRichEdit::KeyDown(QKeyEvent *event)
{
    emit OnKeyDown(event);
}

void TRichEdit::Invalidate()
{
    viewport()->update();
}

void TRichEdit::scheduleFlush()
{
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_flushScheduled = false;
            FlushNotifications();
        },
        Qt::QueuedConnection);
}

void TRichEdit::FlushNotifications()
{
    // The toolkit sends the control events while it replaces the whole text;
    // the handlers wait until the line model matches the new text.
    if (m_replacingAll)
        return;
    while (m_pendingSelection || m_pendingChange) {
        if (m_pendingSelection) {
            m_pendingSelection = false;
            SelectionChange();
            continue;
        }
        m_pendingChange = false;
        m_changedLines = std::exchange(m_pendingLines, { -1, -1 });
        Change();
    }
}

bool TRichEdit::event(QEvent *event)
{
    ++m_eventDepth;
    const bool result = QPlainTextEdit::event(event);
    if (--m_eventDepth == 0)
        FlushNotifications();
    return result;
}

bool TRichEdit::viewportEvent(QEvent *event)
{
    ++m_eventDepth;
    const bool result = QPlainTextEdit::viewportEvent(event);
    if (--m_eventDepth == 0)
        FlushNotifications();
    return result;
}

bool TRichEdit::typesCharacter(const QKeyEvent &event) const
{
    const QString text = event.text();
    if (text.isEmpty())
        return false;
    // Ctrl+Enter, Alt+Enter and Ctrl+M carry a line break's text but insert
    // nothing.
    if (text == u"\r" || text == u"\n")
        return !isReadOnly() && event.matches(QKeySequence::InsertParagraphSeparator);
    return true;
}

void TRichEdit::keyPressEvent(QKeyEvent *event)
{
    // Every key that would break a line does it as Enter does.
    if (TypesSeparator(*event)) {
        const Qt::Key key = event->key() == Qt::Key_Enter ? Qt::Key_Enter : Qt::Key_Return;
        QKeyEvent enter(QEvent::KeyPress, key, event->modifiers() & Qt::KeypadModifier, QStringLiteral("\r"),
            event->isAutoRepeat(), ushort(event->count()));
        keyPressEvent(&enter);
        event->setAccepted(enter.isAccepted());
        return;
    }
    m_keyConsumed = false;
    KeyDown(event);
    if (!m_keyConsumed && typesCharacter(*event))
        emit OnKeyPress(event);
    if (m_keyConsumed) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TRichEdit::focusInEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusInEvent(event);
    if (m_hideSelection)
        viewport()->update();
}

void TRichEdit::focusOutEvent(QFocusEvent *event)
{
    QPlainTextEdit::focusOutEvent(event);
    if (m_hideSelection)
        viewport()->update();
}

void TRichEdit::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange)
        invalidateShown();
}

// Find

int TRichEdit::findText(const QString &what, int start, int length, FindOptions options) const
{
    if (what.isEmpty())
        return -1;
    const QString all = text();
    start = std::clamp(start, 0, int(all.size()));
    const int end = length < 0 ? int(all.size()) : std::min(int(all.size()), start + length);
    const Qt::CaseSensitivity cs = options.testFlag(FindMatchCase) ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype at = start;
    while (true) {
        at = all.indexOf(what, at, cs);
        if (at < 0 || at + what.size() > end)
            return -1;
        const bool bounded = !options.testFlag(FindWholeWord)
            || ((at == 0 || !IsWordChar(all.at(at - 1)))
                && (at + what.size() >= all.size() || !IsWordChar(all.at(at + what.size()))));
        if (bounded)
            return int(at);
        ++at;
    }
}
