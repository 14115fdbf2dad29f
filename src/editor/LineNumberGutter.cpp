#include "LineNumberGutter.h"

#include "SyntaxEdit.h"

#include <QEvent>
#include <QPainter>

namespace {

constexpr int kPadding = 4;
constexpr int kMargin = 0;

int Digits(int lineCount)
{
    return int(QString::number(std::max(1, lineCount)).size());
}

} // namespace

LineNumberGutter::LineNumberGutter(TSyntaxEdit *editor)
    : QObject(editor)
    , m_editor(editor)
{
    setObjectName(QStringLiteral("LineNumberGutter"));
    editor->SendScintilla(
        QsciScintillaBase::SCI_SETMARGINTYPEN, ulong(kMargin), long(QsciScintillaBase::SC_MARGIN_COLOUR));
    // A click on a number selects nothing.
    editor->SendScintilla(QsciScintillaBase::SCI_SETMARGINSENSITIVEN, ulong(kMargin), 1L);
    editor->SendScintilla(
        QsciScintillaBase::SCI_SETMARGINCURSORN, ulong(kMargin), long(QsciScintillaBase::SC_CURSORARROW));
    connect(editor, &TRichEdit::TextReplacing, this, &LineNumberGutter::resizeFor);
    connect(editor, &TRichEdit::LinesEdited, this, &LineNumberGutter::updateWidth);
    connect(editor, &QsciScintillaBase::SCN_ZOOM, this, &LineNumberGutter::applyWidth);
    connect(editor, &QsciScintillaBase::SCN_UPDATEUI, this, &LineNumberGutter::caretMoved);
    connect(editor, &TRichEdit::Painted, this, &LineNumberGutter::paint);
    editor->installEventFilter(this);
    m_digits = Digits(editor->lineCount());
    applyWidth();
}

int LineNumberGutter::GutterWidth() const
{
    const int digitWidth = int(m_editor->SendScintilla(
        QsciScintillaBase::SCI_TEXTWIDTH, ulong(QsciScintillaBase::STYLE_DEFAULT), "9"));
    return 2 * kPadding + digitWidth * std::max(2, m_digits);
}

void LineNumberGutter::applyWidth()
{
    m_applyPending = false;
    m_editor->SendScintilla(
        QsciScintillaBase::SCI_SETMARGINBACKN, ulong(kMargin), m_editor->palette().color(QPalette::Window));
    m_editor->SendScintilla(QsciScintillaBase::SCI_SETMARGINWIDTHN, ulong(kMargin), long(GutterWidth()));
}

void LineNumberGutter::resizeFor(int lineCount)
{
    // The text is empty here, so the new width costs nothing.
    const int digits = Digits(lineCount);
    if (digits == m_digits)
        return;
    m_digits = digits;
    applyWidth();
}

void LineNumberGutter::updateWidth()
{
    if (m_applyPending || Digits(m_editor->lineCount()) == m_digits)
        return;
    // Not inside the edit the view is reporting.
    m_applyPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_digits = Digits(m_editor->lineCount());
            applyWidth();
        },
        Qt::QueuedConnection);
}

void LineNumberGutter::caretMoved()
{
    const int line = m_editor->lineFromChar(-1);
    if (line == m_caretLine)
        return;
    m_caretLine = line;
    m_editor->viewport()->update(0, 0, GutterWidth(), m_editor->viewport()->height());
}

bool LineNumberGutter::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_editor
        && (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange))
        applyWidth();
    return QObject::eventFilter(watched, event);
}

void LineNumberGutter::paint(QPainter &painter) const
{
    const int width = GutterWidth();
    QFont font = m_editor->font();
    // The view grows every font by its zoom, in points.
    const int zoom = int(m_editor->SendScintilla(QsciScintillaBase::SCI_GETZOOM));
    font.setPointSizeF(std::max(2.0, font.pointSizeF() + zoom));
    QFont bold = font;
    bold.setBold(true);
    const int caretLine = m_editor->lineFromChar(-1);
    const int lineHeight = int(m_editor->SendScintilla(QsciScintillaBase::SCI_TEXTHEIGHT, 0UL));
    const QPalette palette = m_editor->palette();
    // Lines shown, one after the other; those hidden in folds have none.
    const long top = m_editor->SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE);
    const long bottom = top + m_editor->SendScintilla(QsciScintillaBase::SCI_LINESONSCREEN);
    const int count = m_editor->lineCount();
    int previous = -1;
    for (long shown = top; shown <= bottom; ++shown) {
        const int line
            = int(m_editor->SendScintilla(QsciScintillaBase::SCI_DOCLINEFROMVISIBLE, ulong(shown)));
        if (line >= count || line <= previous)
            break;
        previous = line;
        const long start = m_editor->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, ulong(line));
        const int top = int(m_editor->SendScintilla(QsciScintillaBase::SCI_POINTYFROMPOSITION, 0UL, start));
        const bool caret = line == caretLine;
        painter.setFont(caret ? bold : font);
        painter.setPen(palette.color(caret ? QPalette::WindowText : QPalette::PlaceholderText));
        painter.drawText(QRectF(0, top, width - kPadding, lineHeight), Qt::AlignRight | Qt::AlignVCenter,
            QString::number(line + 1));
    }
}
