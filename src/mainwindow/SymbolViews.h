#pragma once

#include "navigation/Navigation.h"

#include <QAbstractItemModel>
#include <QIcon>

#include <memory>

using SymbolIndexPtr = std::shared_ptr<const Navigation::SymbolIndex>;

// A letter on a tinted square, one per kind of declaration; a function and a
// global look as the completion list shows the script's own.
[[nodiscard]] QIcon SymbolIcon(Navigation::SymbolKind kind);

// The rows of go to symbol: the name with its icon, what holds it, its line.
class SymbolListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void Set(SymbolIndexPtr index, QList<int> rows);
    // The symbol of a row, -1 for none.
    [[nodiscard]] int Symbol(int row) const { return row >= 0 && row < m_rows.size() ? m_rows[row] : -1; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    SymbolIndexPtr m_index;
    QList<int> m_rows;
};

// The outline's tree: each symbol under the one that holds it.
class OutlineModel : public QAbstractItemModel {
    Q_OBJECT

public:
    using QAbstractItemModel::QAbstractItemModel;

    void Set(SymbolIndexPtr index);
    [[nodiscard]] const SymbolIndexPtr &Index() const { return m_index; }
    [[nodiscard]] QModelIndex IndexOf(int symbol) const;
    [[nodiscard]] static int Symbol(const QModelIndex &index);

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

private:
    SymbolIndexPtr m_index;
    QList<int> m_rowOf; // each symbol's row under its parent
};
