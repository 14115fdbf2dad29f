#pragma once

#include "TextMarks.h"

#include <QObject>

class QPainter;
class QPlainTextEdit;

// Shows the TextMarks of an edit control: a wavy underline under each range,
// red for errors and amber for warnings, over whatever colours the text has,
// and the message as a tooltip over it. Nothing of it is in the document, so
// it adds no undo step, sets no modified flag, raises no change or selection
// notification and is never saved. Edits of the document move the marks.
class MarkOverlay : public QObject {
    Q_OBJECT

public:
    explicit MarkOverlay(QPlainTextEdit &edit);

    [[nodiscard]] const TextMarks &Marks() const { return m_marks; }
    void SetMarks(std::vector<TextMarks::Mark> marks);
    void Clear();

    // Draws the marks of the lines in view; the control calls it at the end
    // of its own painting of the viewport.
    void Paint(QPainter &painter) const;
    // The messages of the marks under a viewport point, one a line.
    [[nodiscard]] QString MessageAt(const QPoint &point) const;

signals:
    // A mark went, moved, or the marks were replaced.
    void Changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onContentsChange(int position, int removed, int added);
    [[nodiscard]] std::pair<int, int> linesInView() const;
    // The mark's range on the viewport; empty when its line is not laid out.
    [[nodiscard]] QRect markRect(const TextMarks::Mark &mark) const;

    QPlainTextEdit &m_edit;
    TextMarks m_marks;
};
