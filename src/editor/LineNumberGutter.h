#pragma once

#include <QWidget>

class TSyntaxEdit;

// The line numbers at the left of an editor: 1-based, in the editor's font,
// the caret's line in bold, as wide as the largest number needs. It sits in
// the editor's left viewport margin, outside the text, so positions, lines and
// selections are those of the text alone.
class LineNumberGutter : public QWidget {
    Q_OBJECT

public:
    explicit LineNumberGutter(TSyntaxEdit *editor);

    [[nodiscard]] int GutterWidth() const;
    [[nodiscard]] QSize sizeHint() const override { return { GutterWidth(), 0 }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateWidth();
    void resizeFor(int lineCount);
    void applyWidth();
    void updateArea(const QRect &rect, int dy);
    void placeInEditor();

    TSyntaxEdit *m_editor;
    int m_caretLine = -1;
    int m_digits = 0;
};
