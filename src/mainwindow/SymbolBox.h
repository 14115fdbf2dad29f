#pragma once

#include "SymbolViews.h"

#include <QFrame>

class QLineEdit;
class QTreeView;

// Go to symbol: a search box over the editor with the script's declarations
// below it. Typing filters the list, Up and Down move in it, Enter or a click
// picks a declaration, Escape or the focus going elsewhere closes it.
class SymbolBox : public QFrame {
    Q_OBJECT

public:
    explicit SymbolBox(QWidget *parent);

    QLineEdit *SymbolSearch;
    QTreeView *SymbolList;

    // Shows the box at the top of `over`, with an empty search and every symbol.
    void Open(QWidget *over, SymbolIndexPtr index);
    // A newer analysis: the same search over its symbols.
    void SetSymbols(SymbolIndexPtr index);
    // The symbols shown, or last shown while closed.
    [[nodiscard]] const SymbolIndexPtr &Symbols() const { return m_index; }
    void Close();
    [[nodiscard]] bool IsOpen() const { return isVisible(); }
    // The symbol of the selected row, -1 for none.
    [[nodiscard]] int Current() const;

signals:
    void Activated(int symbol);
    void Closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void filter();
    void activate();
    void moveSelection(int rows);

    SymbolListModel *m_model;
    SymbolIndexPtr m_index;
};
