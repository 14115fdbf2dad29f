#include "MarkOverlay.h"

#include "RichEdit.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int kErrorIndicator = QsciScintillaBase::INDIC_CONTAINER;
constexpr int kWarningIndicator = QsciScintillaBase::INDIC_CONTAINER + 1;

QColor MarkColor(TextMarks::Kind kind)
{
    return kind == TextMarks::Kind::Error ? QColor(0xE0, 0x10, 0x10) : QColor(0xD0, 0x8C, 0x00);
}

int IndicatorOf(TextMarks::Kind kind)
{
    return kind == TextMarks::Kind::Error ? kErrorIndicator : kWarningIndicator;
}

// The view's own squiggle: two pixels down and up every two pixels, under the
// baseline.
void DrawSquiggle(QPainter &painter, int left, int right, int top)
{
    QPolygon line;
    int y = 0;
    for (int x = left; x < right; x += 2, y = 2 - y)
        line << QPoint(x, top + y);
    line << QPoint(right, top + y);
    painter.drawPolyline(line);
}

} // namespace

MarkOverlay::MarkOverlay(TRichEdit &edit)
    : QObject(&edit)
    , m_edit(edit)
{
    for (const TextMarks::Kind kind : { TextMarks::Kind::Error, TextMarks::Kind::Warning }) {
        const ulong indicator = ulong(IndicatorOf(kind));
        edit.SendScintilla(
            QsciScintillaBase::SCI_INDICSETSTYLE, indicator, long(QsciScintillaBase::INDIC_SQUIGGLE));
        edit.SendScintilla(QsciScintillaBase::SCI_INDICSETFORE, indicator, MarkColor(kind));
    }
    connect(&edit, &TRichEdit::LinesEdited, this, &MarkOverlay::onLinesEdited);
    connect(&edit, &TRichEdit::Painted, this, &MarkOverlay::paintPastEnds);
    edit.viewport()->installEventFilter(this);
}

void MarkOverlay::clearIndicators(int start, int length)
{
    for (const int indicator : { kErrorIndicator, kWarningIndicator })
        m_edit.clearIndicator(indicator, start, length);
}

void MarkOverlay::SetMarks(std::vector<TextMarks::Mark> marks)
{
    clearIndicators(0, m_edit.textLength());
    m_marks.Set(std::move(marks), m_edit.lineCount());
    for (const TextMarks::Mark &mark : m_marks.All()) {
        const int length = int(m_edit.line(mark.line).size());
        if (mark.column < length)
            m_edit.fillIndicator(IndicatorOf(mark.kind), m_edit.lineIndex(mark.line) + mark.column,
                std::min(mark.length, length - mark.column));
    }
    m_edit.viewport()->update();
    emit Changed();
}

void MarkOverlay::Clear()
{
    if (m_marks.IsEmpty())
        return;
    m_marks.Clear();
    clearIndicators(0, m_edit.textLength());
    m_edit.viewport()->update();
    emit Changed();
}

void MarkOverlay::onLinesEdited(int first, int last)
{
    if (m_marks.IsEmpty())
        return;
    if (m_marks.Edited(first, last, m_edit.lineCount())) {
        // What is left of the edited lines' marks moved with their text.
        const int start = m_edit.lineIndex(first);
        const int end = m_edit.lineIndex(last) + int(m_edit.line(last).size());
        clearIndicators(start, end - start);
        m_edit.viewport()->update();
        emit Changed();
    }
}

QRect MarkOverlay::markRect(const TextMarks::Mark &mark) const
{
    if (mark.line < 0 || mark.line >= m_edit.lineCount())
        return {};
    const int lineStart = m_edit.lineIndex(mark.line);
    const int length = int(m_edit.line(mark.line).size());
    const QRect start = m_edit.positionRect(lineStart + std::min(mark.column, length));
    const QRect end = m_edit.positionRect(lineStart + std::min(mark.column + mark.length, length));
    // A range past the end of its line (a missing closer) still shows.
    const int right = std::max(end.left(), start.left() + m_edit.fontMetrics().averageCharWidth());
    return QRect(QPoint(start.left(), start.top()), QPoint(right, start.bottom()));
}

void MarkOverlay::paintPastEnds(QPainter &painter) const
{
    if (m_marks.IsEmpty())
        return;
    const auto [begin, end] = m_marks.OnLines(m_edit.firstVisibleLine(), m_edit.lastVisibleLine());
    for (size_t i = begin; i < end; ++i) {
        const TextMarks::Mark &mark = m_marks.All()[i];
        // Lines hidden in a fold have no place of their own.
        if (mark.column < int(m_edit.line(mark.line).size()) || !m_edit.isLineShown(mark.line))
            continue;
        const QRect r = markRect(mark);
        painter.setPen(QPen(MarkColor(mark.kind), 1));
        DrawSquiggle(painter, r.left(), r.right(), r.bottom() - 3);
    }
}

QString MarkOverlay::MessageAt(const QPoint &point) const
{
    const int line = m_edit.lineFromChar(m_edit.positionAt(point));
    const auto [begin, end] = m_marks.OnLines(line, line);
    QStringList messages;
    for (size_t i = begin; i < end; ++i) {
        const TextMarks::Mark &mark = m_marks.All()[i];
        if (markRect(mark).adjusted(0, 0, 1, 1).contains(point))
            messages.append(mark.message);
    }
    return messages.join(u'\n');
}

bool MarkOverlay::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ToolTip && !m_marks.IsEmpty()) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString message = MessageAt(help->pos());
        if (!message.isEmpty()) {
            QToolTip::showText(help->globalPos(), message, m_edit.viewport());
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
