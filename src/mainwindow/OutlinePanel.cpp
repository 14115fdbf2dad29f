#include "OutlinePanel.h"

#include <QLabel>
#include <QTreeView>
#include <QVBoxLayout>

OutlinePanel::OutlinePanel(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("OutlinePanel"));
    OutlineTitle = new QLabel(QStringLiteral("Outline"), this);
    OutlineTitle->setObjectName(QStringLiteral("OutlineTitle"));
    OutlineTitle->setIndent(4);
    OutlineTree = new QTreeView(this);
    OutlineTree->setObjectName(QStringLiteral("OutlineTree"));
    OutlineTree->setHeaderHidden(true);
    OutlineTree->setUniformRowHeights(true);
    OutlineTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    OutlineTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model = new OutlineModel(this);
    OutlineTree->setModel(m_model);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(OutlineTitle);
    layout->addWidget(OutlineTree, 1);

    const auto go = [this](const QModelIndex &index) {
        if (const int symbol = OutlineModel::Symbol(index); symbol >= 0)
            emit Activated(symbol);
    };
    connect(OutlineTree, &QTreeView::clicked, this, go);
    connect(OutlineTree, &QTreeView::activated, this, go);
    connect(OutlineTree, &QTreeView::collapsed, this,
        [this](const QModelIndex &index) { m_collapsed.insert(path(OutlineModel::Symbol(index))); });
    connect(OutlineTree, &QTreeView::expanded, this,
        [this](const QModelIndex &index) { m_collapsed.remove(path(OutlineModel::Symbol(index))); });
}

const SymbolIndexPtr &OutlinePanel::Symbols() const
{
    return m_model->Index();
}

QString OutlinePanel::path(int symbol) const
{
    const SymbolIndexPtr &index = m_model->Index();
    QString text;
    for (int s = symbol; index && s >= 0 && s < index->Size(); s = (*index)[s].parent)
        text.prepend((*index)[s].name + u'\n');
    return text;
}

void OutlinePanel::SetSymbols(SymbolIndexPtr index)
{
    const QSet<QString> collapsed = m_collapsed;
    m_model->Set(std::move(index));
    const SymbolIndexPtr &symbols = m_model->Index();
    if (!symbols)
        return;
    // Open every branch but those the user closed; a script of plain JASS
    // has none and wastes no room on them.
    bool branches = false;
    for (int s = 0; s < symbols->Size(); ++s) {
        if (symbols->Children(s).isEmpty())
            continue;
        branches = true;
        if (!collapsed.contains(path(s)))
            OutlineTree->setExpanded(m_model->IndexOf(s), true);
    }
    OutlineTree->setRootIsDecorated(branches);
    m_collapsed = collapsed;
}

void OutlinePanel::Follow(int line)
{
    const SymbolIndexPtr &symbols = m_model->Index();
    const QModelIndex index = symbols ? m_model->IndexOf(symbols->At(line)) : QModelIndex();
    if (index == OutlineTree->currentIndex())
        return;
    if (!index.isValid()) {
        OutlineTree->clearSelection();
        OutlineTree->setCurrentIndex({});
        return;
    }
    OutlineTree->setCurrentIndex(index);
    OutlineTree->scrollTo(index);
}

int OutlinePanel::Current() const
{
    return OutlineModel::Symbol(OutlineTree->currentIndex());
}
