#pragma once

#include "TextMarks.h"

#include <QObject>

class QPainter;
class TRichEdit;

// Shows the TextMarks of an edit control: a wavy underline under each range,
// red for errors and amber for warnings, over whatever colours the text has,
// and the message as a tooltip over it. The underlines are indicators of the
// view, which move with their text; a mark past the end of its line is drawn
// after the line. Nothing of it is in the text, so it adds no undo step, sets
// no modified flag, raises no change or selection notification and is never
// saved. Edits of the text move the marks; a mark goes when its line is
// edited.
class MarkOverlay : public QObject {
    Q_OBJECT

public:
    explicit MarkOverlay(TRichEdit &edit);

    [[nodiscard]] const TextMarks &Marks() const { return m_marks; }
    void SetMarks(std::vector<TextMarks::Mark> marks);
    void Clear();

    // The messages of the marks under a viewport point, one a line.
    [[nodiscard]] QString MessageAt(const QPoint &point) const;

signals:
    // A mark went, moved, or the marks were replaced.
    void Changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onLinesEdited(int first, int last);
    void clearIndicators(int start, int length);
    void paintPastEnds(QPainter &painter) const;
    // The mark's range on the viewport.
    [[nodiscard]] QRect markRect(const TextMarks::Mark &mark) const;

    TRichEdit &m_edit;
    TextMarks m_marks;
};
