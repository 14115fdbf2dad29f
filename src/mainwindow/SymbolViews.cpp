#include "SymbolViews.h"

#include <QColor>
#include <QPainter>
#include <QPixmap>

using Navigation::SymbolKind;

QIcon SymbolIcon(SymbolKind kind)
{
    static const std::pair<char, QColor> kLooks[] = {
        { 'L', QColor(96, 64, 0) }, // library
        { 'S', QColor(64, 64, 96) }, // scope
        { 'C', QColor(0, 96, 96) }, // struct
        { 'I', QColor(0, 96, 96) }, // interface
        { 'M', QColor(128, 64, 96) }, // module
        { 'f', QColor(0, 112, 0) }, // function
        { 'm', QColor(0, 112, 0) }, // method
        { 'n', QColor(0, 0, 128) }, // native
        { 'v', QColor(0, 112, 0) }, // global
        { 't', QColor(128, 0, 0) }, // type
        { 'i', QColor(128, 0, 0) }, // function interface
        { '#', QColor(96, 0, 128) }, // textmacro
    };
    static QIcon icons[std::size(kLooks)];
    const size_t k = size_t(kind);
    if (k >= std::size(kLooks))
        return {};
    QIcon &icon = icons[k];
    if (icon.isNull()) {
        QPixmap pixmap(14, 14);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setBrush(kLooks[k].second);
        painter.setPen(Qt::NoPen);
        painter.drawRoundedRect(QRectF(0.5, 0.5, 13, 13), 3, 3);
        painter.setPen(Qt::white);
        QFont font = painter.font();
        font.setPixelSize(10);
        font.setBold(true);
        painter.setFont(font);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, QString(QLatin1Char(kLooks[k].first)));
        painter.end();
        icon = QIcon(pixmap);
    }
    return icon;
}

namespace {

QString ToolTip(const Navigation::Symbol &symbol)
{
    return QStringLiteral("%1 %2, line %3")
        .arg(Navigation::KindName(symbol.kind), symbol.name)
        .arg(symbol.line + 1);
}

} // namespace

void SymbolListModel::Set(SymbolIndexPtr index, QList<int> rows)
{
    beginResetModel();
    m_index = std::move(index);
    m_rows = std::move(rows);
    endResetModel();
}

int SymbolListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() || !m_index ? 0 : int(m_rows.size());
}

int SymbolListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant SymbolListModel::data(const QModelIndex &index, int role) const
{
    const int symbol = Symbol(index.row());
    if (!m_index || symbol < 0 || symbol >= m_index->Size())
        return {};
    const Navigation::Symbol &s = (*m_index)[symbol];
    switch (role) {
    case Qt::DisplayRole:
        if (index.column() == 0)
            return s.name;
        if (index.column() == 1)
            return s.parent >= 0 ? (*m_index)[s.parent].name : QString();
        return s.line + 1;
    case Qt::DecorationRole:
        return index.column() == 0 ? SymbolIcon(s.kind) : QVariant();
    case Qt::ToolTipRole:
        return ToolTip(s);
    case Qt::TextAlignmentRole:
        return index.column() == 2 ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::ForegroundRole:
        return index.column() > 0 ? QVariant(QColor(Qt::darkGray)) : QVariant();
    default:
        return {};
    }
}

void OutlineModel::Set(SymbolIndexPtr index)
{
    beginResetModel();
    m_index = std::move(index);
    m_rowOf = QList<int>(m_index ? m_index->Size() : 0, 0);
    if (m_index) {
        for (int parent = -1; parent < m_index->Size(); ++parent) {
            const QList<int> &children = m_index->Children(parent);
            for (qsizetype row = 0; row < children.size(); ++row)
                m_rowOf[children[row]] = int(row);
        }
    }
    endResetModel();
}

int OutlineModel::Symbol(const QModelIndex &index)
{
    return index.isValid() ? int(index.internalId()) : -1;
}

QModelIndex OutlineModel::IndexOf(int symbol) const
{
    if (!m_index || symbol < 0 || symbol >= m_index->Size())
        return {};
    return createIndex(m_rowOf[symbol], 0, quintptr(symbol));
}

QModelIndex OutlineModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!m_index || column != 0)
        return {};
    const QList<int> &children = m_index->Children(Symbol(parent));
    return row >= 0 && row < children.size() ? createIndex(row, 0, quintptr(children[row])) : QModelIndex();
}

QModelIndex OutlineModel::parent(const QModelIndex &child) const
{
    const int symbol = Symbol(child);
    if (!m_index || symbol < 0 || symbol >= m_index->Size())
        return {};
    return IndexOf((*m_index)[symbol].parent);
}

int OutlineModel::rowCount(const QModelIndex &parent) const
{
    return m_index && parent.column() <= 0 ? int(m_index->Children(Symbol(parent)).size()) : 0;
}

int OutlineModel::columnCount(const QModelIndex &) const
{
    return 1;
}

QVariant OutlineModel::data(const QModelIndex &index, int role) const
{
    const int symbol = Symbol(index);
    if (!m_index || symbol < 0 || symbol >= m_index->Size())
        return {};
    const Navigation::Symbol &s = (*m_index)[symbol];
    switch (role) {
    case Qt::DisplayRole:
        return s.name;
    case Qt::DecorationRole:
        return SymbolIcon(s.kind);
    case Qt::ToolTipRole:
        return ToolTip(s);
    default:
        return {};
    }
}
