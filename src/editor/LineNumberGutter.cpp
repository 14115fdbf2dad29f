#include "LineNumberGutter.h"

#include "SyntaxEdit.h"

#include <QEvent>
#include <QPainter>
#include <QTextBlock>

namespace {

constexpr int kPadding = 4;

} // namespace

LineNumberGutter::LineNumberGutter(TSyntaxEdit *editor)
    : QWidget(editor)
    , m_editor(editor)
{
    setObjectName(QStringLiteral("LineNumberGutter"));
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
    connect(editor, &QPlainTextEdit::blockCountChanged, this, &LineNumberGutter::updateWidth);
    connect(editor, &TRichEdit::TextReplacing, this, &LineNumberGutter::resizeFor);
    connect(editor, &QPlainTextEdit::updateRequest, this, &LineNumberGutter::updateArea);
    connect(editor, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const int line = m_editor->textCursor().blockNumber();
        if (line != m_caretLine) {
            m_caretLine = line;
            update();
        }
    });
    editor->installEventFilter(this);
    updateWidth();
}

namespace {

int Digits(int lineCount)
{
    return int(QString::number(std::max(1, lineCount)).size());
}

} // namespace

int LineNumberGutter::GutterWidth() const
{
    const int digits = std::max(2, m_digits > 0 ? m_digits : Digits(m_editor->blockCount()));
    return 2 * kPadding + m_editor->fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void LineNumberGutter::applyWidth()
{
    m_editor->setViewportMargins(GutterWidth(), 0, 0, 0);
    placeInEditor();
}

void LineNumberGutter::resizeFor(int lineCount)
{
    // The document is empty here, so the narrower viewport costs nothing.
    const int digits = Digits(lineCount);
    if (digits == m_digits)
        return;
    m_digits = digits;
    applyWidth();
}

void LineNumberGutter::updateWidth()
{
    const int digits = Digits(m_editor->blockCount());
    if (digits == m_digits)
        return;
    m_digits = digits;
    // Not at once: during a text replacement a narrower viewport makes the
    // toolkit lay out every line of the new text, not only those in view.
    QMetaObject::invokeMethod(this, &LineNumberGutter::applyWidth, Qt::QueuedConnection);
}

void LineNumberGutter::updateArea(const QRect &rect, int dy)
{
    if (dy != 0)
        scroll(0, dy);
    else
        update(0, rect.y(), width(), rect.height());
}

void LineNumberGutter::placeInEditor()
{
    const QRect area = m_editor->contentsRect();
    setGeometry(area.left(), area.top(), GutterWidth(), area.height());
}

bool LineNumberGutter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor) {
        if (event->type() == QEvent::Resize) {
            placeInEditor();
        } else if (event->type() == QEvent::FontChange) {
            m_digits = 0;
            updateWidth();
            update();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void LineNumberGutter::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    QFont font = m_editor->font();
    QFont bold = font;
    bold.setBold(true);
    const int caretLine = m_editor->textCursor().blockNumber();
    QTextBlock block = m_editor->firstVisibleBlock();
    qreal top = m_editor->blockBoundingGeometry(block).translated(m_editor->contentOffset()).top();
    const int lineHeight = m_editor->fontMetrics().height();
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal height = m_editor->blockBoundingRect(block).height();
        if (block.isVisible() && top + height >= event->rect().top()) {
            const bool caret = block.blockNumber() == caretLine;
            painter.setFont(caret ? bold : font);
            painter.setPen(palette().color(caret ? QPalette::WindowText : QPalette::PlaceholderText));
            painter.drawText(QRectF(0, top, width() - kPadding, lineHeight),
                Qt::AlignRight | Qt::AlignVCenter, QString::number(block.blockNumber() + 1));
        }
        top += height;
        block = block.next();
    }
}
