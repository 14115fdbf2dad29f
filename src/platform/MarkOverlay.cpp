#include "MarkOverlay.h"

#include <QEvent>
#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

namespace {

QColor MarkColor(TextMarks::Kind kind)
{
    return kind == TextMarks::Kind::Error ? QColor(0xE0, 0x10, 0x10) : QColor(0xD0, 0x8C, 0x00);
}

void DrawWave(QPainter &painter, qreal left, qreal right, qreal baseline)
{
    // Two pixels up and down every four, as spelling checkers draw it.
    constexpr qreal kHalfPeriod = 2;
    constexpr qreal kAmplitude = 1.5;
    QPainterPath path(QPointF(left, baseline));
    bool up = true;
    for (qreal x = left; x < right; x += kHalfPeriod, up = !up)
        path.lineTo(std::min(x + kHalfPeriod, right), baseline + (up ? -kAmplitude : kAmplitude));
    painter.drawPath(path);
}

} // namespace

MarkOverlay::MarkOverlay(QPlainTextEdit &edit)
    : QObject(&edit)
    , m_edit(edit)
{
    connect(edit.document(), &QTextDocument::contentsChange, this, &MarkOverlay::onContentsChange);
    edit.viewport()->installEventFilter(this);
}

void MarkOverlay::SetMarks(std::vector<TextMarks::Mark> marks)
{
    m_marks.Set(std::move(marks), m_edit.document()->blockCount());
    m_edit.viewport()->update();
    emit Changed();
}

void MarkOverlay::Clear()
{
    if (m_marks.IsEmpty())
        return;
    m_marks.Clear();
    m_edit.viewport()->update();
    emit Changed();
}

void MarkOverlay::onContentsChange(int position, int, int added)
{
    if (m_marks.IsEmpty())
        return;
    const QTextDocument *doc = m_edit.document();
    const QTextBlock first = doc->findBlock(position);
    QTextBlock last = doc->findBlock(position + added);
    if (!last.isValid())
        last = doc->lastBlock();
    if (m_marks.Edited(first.isValid() ? first.blockNumber() : 0, last.blockNumber(), doc->blockCount())) {
        m_edit.viewport()->update();
        emit Changed();
    }
}

std::pair<int, int> MarkOverlay::linesInView() const
{
    const QRect view = m_edit.viewport()->rect();
    return { m_edit.cursorForPosition(view.topLeft()).blockNumber(),
        m_edit.cursorForPosition(view.bottomLeft()).blockNumber() };
}

QRect MarkOverlay::markRect(const TextMarks::Mark &mark) const
{
    const QTextBlock block = m_edit.document()->findBlockByNumber(mark.line);
    if (!block.isValid())
        return {};
    const int length = block.length() - 1;
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + std::min(mark.column, length));
    const QRect start = m_edit.cursorRect(cursor);
    cursor.setPosition(block.position() + std::min(mark.column + mark.length, length));
    const QRect end = m_edit.cursorRect(cursor);
    // A range past the end of its line (a missing closer) still shows.
    const int right = std::max(end.left(), start.left() + m_edit.fontMetrics().averageCharWidth());
    return QRect(QPoint(start.left(), start.top()), QPoint(right, start.bottom()));
}

void MarkOverlay::Paint(QPainter &painter) const
{
    if (m_marks.IsEmpty())
        return;
    const auto [firstLine, lastLine] = linesInView();
    const auto [begin, end] = m_marks.OnLines(firstLine, lastLine);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    for (size_t i = begin; i < end; ++i) {
        const TextMarks::Mark &mark = m_marks.All()[i];
        const QRect r = markRect(mark);
        if (r.isEmpty())
            continue;
        painter.setPen(QPen(MarkColor(mark.kind), 1));
        DrawWave(painter, r.left(), r.right(), r.bottom() - 1);
    }
    painter.restore();
}

QString MarkOverlay::MessageAt(const QPoint &point) const
{
    const int line = m_edit.cursorForPosition(point).blockNumber();
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
