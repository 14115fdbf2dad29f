#include "RichEditAccessible.h"

#include "RichEdit.h"

RichEditAccessible::RichEditAccessible(TRichEdit *edit)
    : QAccessibleWidget(edit, QAccessible::EditableText)
{
}

QAccessibleInterface *RichEditAccessible::Create(const QString &, QObject *object)
{
    auto *edit = qobject_cast<TRichEdit *>(object);
    return edit ? new RichEditAccessible(edit) : nullptr;
}

TRichEdit &RichEditAccessible::edit() const
{
    return *static_cast<TRichEdit *>(widget());
}

QString RichEditAccessible::text(QAccessible::Text kind) const
{
    if (kind == QAccessible::Value)
        return edit().text();
    return QAccessibleWidget::text(kind);
}

QAccessible::State RichEditAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.editable = !edit().isReadOnly();
    s.readOnly = edit().isReadOnly();
    s.multiLine = true;
    s.selectableText = true;
    return s;
}

void *RichEditAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void RichEditAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && edit().selLength() > 0) {
        *startOffset = edit().selStart();
        *endOffset = *startOffset + edit().selLength();
    }
}

int RichEditAccessible::selectionCount() const
{
    return edit().selLength() > 0 ? 1 : 0;
}

void RichEditAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void RichEditAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex == 0)
        edit().setSelStart(cursorPosition());
}

void RichEditAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        edit().select(startOffset, endOffset - startOffset);
}

int RichEditAccessible::cursorPosition() const
{
    return edit().caretPosition();
}

void RichEditAccessible::setCursorPosition(int position)
{
    edit().setSelStart(position);
}

QString RichEditAccessible::text(int startOffset, int endOffset) const
{
    return edit().text().mid(startOffset, endOffset - startOffset);
}

int RichEditAccessible::characterCount() const
{
    return edit().textLength();
}

QRect RichEditAccessible::characterRect(int offset) const
{
    const QRect start = edit().positionRect(offset);
    const QRect end = edit().positionRect(offset + 1);
    const QRect cell(start.topLeft(), QPoint(std::max(end.left(), start.left() + 1), start.bottom()));
    return cell.translated(edit().viewport()->mapToGlobal(QPoint(0, 0)));
}

int RichEditAccessible::offsetAtPoint(const QPoint &point) const
{
    return edit().positionAt(edit().viewport()->mapFromGlobal(point));
}

void RichEditAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    edit().scrollToRange(startIndex, endIndex);
}

QString RichEditAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}
