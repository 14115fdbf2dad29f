#include "SymbolBox.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kVisibleRows = 16;

} // namespace

SymbolBox::SymbolBox(QWidget *parent)
    : QFrame(parent)
{
    setObjectName(QStringLiteral("SymbolBox"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    SymbolSearch = new QLineEdit(this);
    SymbolSearch->setObjectName(QStringLiteral("SymbolSearch"));
    SymbolSearch->setPlaceholderText(QStringLiteral("Go to symbol"));
    SymbolList = new QTreeView(this);
    SymbolList->setObjectName(QStringLiteral("SymbolList"));
    SymbolList->setRootIsDecorated(false);
    SymbolList->setUniformRowHeights(true);
    SymbolList->setHeaderHidden(true);
    SymbolList->setAllColumnsShowFocus(true);
    SymbolList->setFocusPolicy(Qt::NoFocus);
    SymbolList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SymbolList->setTextElideMode(Qt::ElideMiddle);
    m_model = new SymbolListModel(this);
    SymbolList->setModel(m_model);
    // Measured once, never by their contents: a list of thousands fills at once.
    SymbolList->header()->setStretchLastSection(false);
    SymbolList->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    SymbolList->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    SymbolList->header()->setSectionResizeMode(2, QHeaderView::Fixed);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(SymbolSearch);
    layout->addWidget(SymbolList);
    hide();

    SymbolSearch->installEventFilter(this);
    connect(SymbolSearch, &QLineEdit::textChanged, this, &SymbolBox::filter);
    connect(SymbolList, &QTreeView::clicked, this, [this](const QModelIndex &index) {
        SymbolList->setCurrentIndex(index);
        activate();
    });
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (IsOpen() && now != nullptr && !isAncestorOf(now))
            Close();
    });
}

void SymbolBox::Open(QWidget *over, SymbolIndexPtr index)
{
    m_index = std::move(index);
    SymbolSearch->blockSignals(true);
    SymbolSearch->clear();
    SymbolSearch->blockSignals(false);
    const QFontMetrics metrics(SymbolList->font());
    const int width = std::clamp(over->width() * 3 / 5, std::min(over->width(), 320), 640);
    const int rowHeight = std::max(metrics.height(), 16) + 2;
    resize(width, SymbolSearch->sizeHint().height() + kVisibleRows * rowHeight + 10);
    const int lineWidth = metrics.horizontalAdvance(QStringLiteral("0000000")) + 8;
    SymbolList->header()->resizeSection(2, lineWidth);
    SymbolList->header()->resizeSection(1, std::max(width / 4, 60));
    move(over->mapTo(parentWidget(), QPoint((over->width() - width) / 2, 0)));
    filter();
    show();
    raise();
    SymbolSearch->setFocus(Qt::ShortcutFocusReason);
}

void SymbolBox::SetSymbols(SymbolIndexPtr index)
{
    // The row the user went to stays selected when it is still there.
    const int current = Current();
    const QString name = current >= 0 && m_index ? (*m_index)[current].name : QString();
    m_index = std::move(index);
    filter();
    for (int row = 0; !name.isEmpty() && row < m_model->rowCount(); ++row) {
        if ((*m_index)[m_model->Symbol(row)].name == name) {
            SymbolList->setCurrentIndex(m_model->index(row, 0));
            break;
        }
    }
}

void SymbolBox::Close()
{
    if (!isVisible())
        return;
    hide();
    m_model->Set(nullptr, {});
    emit Closed();
}

int SymbolBox::Current() const
{
    return m_model->Symbol(SymbolList->currentIndex().row());
}

void SymbolBox::filter()
{
    // What holds a declaration: nothing in plain JASS.
    SymbolList->setColumnHidden(1, !m_index || m_index->Children(-1).size() == m_index->Size());
    m_model->Set(m_index, m_index ? m_index->Filter(SymbolSearch->text().trimmed()) : QList<int>());
    if (m_model->rowCount() > 0)
        SymbolList->setCurrentIndex(m_model->index(0, 0));
}

void SymbolBox::activate()
{
    const int symbol = Current();
    if (symbol < 0)
        return;
    Close();
    emit Activated(symbol);
}

void SymbolBox::moveSelection(int rows)
{
    const int count = m_model->rowCount();
    if (count == 0)
        return;
    const int row = std::clamp(SymbolList->currentIndex().row() + rows, 0, count - 1);
    SymbolList->setCurrentIndex(m_model->index(row, 0));
}

bool SymbolBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == SymbolSearch && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Up:
            moveSelection(-1);
            return true;
        case Qt::Key_Down:
            moveSelection(1);
            return true;
        case Qt::Key_PageUp:
            moveSelection(-kVisibleRows);
            return true;
        case Qt::Key_PageDown:
            moveSelection(kVisibleRows);
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            activate();
            return true;
        case Qt::Key_Escape:
            Close();
            return true;
        default:
            break;
        }
    }
    return QFrame::eventFilter(watched, event);
}
