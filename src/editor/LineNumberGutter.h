#pragma once

#include <QObject>

class QPainter;
class TSyntaxEdit;

// The line numbers at the left of an editor: 1-based, in the editor's font at
// its zoom, the caret's line in bold, as wide as the largest number needs. They
// fill the view's first margin, outside the text, so positions, lines and
// selections are those of the text alone.
class LineNumberGutter : public QObject {
    Q_OBJECT

public:
    explicit LineNumberGutter(TSyntaxEdit *editor);

    [[nodiscard]] int GutterWidth() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateWidth();
    void resizeFor(int lineCount);
    void applyWidth();
    void caretMoved();
    void paint(QPainter &painter) const;

    TSyntaxEdit *m_editor;
    int m_caretLine = -1;
    int m_digits = 0;
    bool m_applyPending = false;
};
