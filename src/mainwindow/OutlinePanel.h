#pragma once

#include "SymbolViews.h"

#include <QSet>
#include <QWidget>

class QLabel;
class QTreeView;

// The outline: the script's declarations as a tree beside the editor, the
// one the caret is in selected. A click or Enter on a row goes there.
class OutlinePanel : public QWidget {
    Q_OBJECT

public:
    explicit OutlinePanel(QWidget *parent);

    QLabel *OutlineTitle;
    QTreeView *OutlineTree;

    // A newer analysis: the tree anew, branches the user closed still closed.
    void SetSymbols(SymbolIndexPtr index);
    [[nodiscard]] const SymbolIndexPtr &Symbols() const;
    // Selects the innermost declaration holding the 0-based editor line.
    void Follow(int line);
    // The symbol of the selected row, -1 for none.
    [[nodiscard]] int Current() const;

signals:
    void Activated(int symbol);

private:
    // A branch by the names from the top down to it.
    [[nodiscard]] QString path(int symbol) const;

    OutlineModel *m_model;
    QSet<QString> m_collapsed;
};
