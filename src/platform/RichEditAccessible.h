#pragma once

#include <QAccessibleWidget>

class TRichEdit;

// What assistive technology sees of the control: its text, caret and
// selection in the control's own positions. It stands in for the view's own,
// which counts the characters from the start of the text on every edit and
// caret move, whether anything listens or not.
class RichEditAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit RichEditAccessible(TRichEdit *edit);

    // For QAccessible::installFactory.
    static QAccessibleInterface *Create(const QString &className, QObject *object);

    [[nodiscard]] QString text(QAccessible::Text kind) const override;
    [[nodiscard]] QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    [[nodiscard]] int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    [[nodiscard]] int cursorPosition() const override;
    void setCursorPosition(int position) override;
    [[nodiscard]] QString text(int startOffset, int endOffset) const override;
    [[nodiscard]] int characterCount() const override;
    [[nodiscard]] QRect characterRect(int offset) const override;
    [[nodiscard]] int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    [[nodiscard]] QString attributes(int offset, int *startOffset, int *endOffset) const override;

private:
    [[nodiscard]] TRichEdit &edit() const;
};
