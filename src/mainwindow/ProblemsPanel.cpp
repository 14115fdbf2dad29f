#include "ProblemsPanel.h"

#include "ScriptCheck.h"
#include "platform/TextMarks.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// Enter and a double-click activate a row whatever the platform's style
// says (some activate on a single click).
class ProblemsView : public QTreeView {
public:
    using QTreeView::QTreeView;

    std::function<void(int)> onActivate;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentIndex().isValid()) {
            onActivate(currentIndex().row());
            return;
        }
        QTreeView::keyPressEvent(event);
    }
};

} // namespace

ProblemsModel::ProblemsModel(const TextMarks &marks, QObject *parent)
    : QAbstractTableModel(parent)
    , m_marks(marks)
    , m_error(QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical))
    , m_warning(QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning))
{
}

void ProblemsModel::Refresh()
{
    beginResetModel();
    endResetModel();
}

int ProblemsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_marks.All().size());
}

int ProblemsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant ProblemsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_marks.All().size())
        return {};
    const TextMarks::Mark &mark = m_marks.All()[size_t(index.row())];
    if (index.column() == 0) {
        if (role == Qt::DisplayRole)
            return QStringLiteral("%1:%2").arg(mark.line + 1).arg(mark.column + 1);
        if (role == Qt::DecorationRole)
            return mark.kind == TextMarks::Kind::Error ? m_error : m_warning;
        if (role == Qt::ToolTipRole)
            return mark.kind == TextMarks::Kind::Error ? QStringLiteral("Error") : QStringLiteral("Warning");
    } else if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        return mark.message;
    }
    return {};
}

ProblemsPanel::ProblemsPanel(const TextMarks &marks, QWidget *parent)
    : QWidget(parent)
    , m_marks(marks)
    , m_model(new ProblemsModel(marks, this))
    , m_summary(new QLabel(this))
    , m_close(new QToolButton(this))
    , m_list(new ProblemsView(this))
{
    static_cast<ProblemsView *>(m_list)->onActivate = [this](int row) { emit Activated(row); };
    m_summary->setObjectName(QStringLiteral("ProblemsSummary"));
    m_close->setObjectName(QStringLiteral("ProblemsClose"));
    m_close->setAutoRaise(true);
    m_close->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_close->setToolTip(QStringLiteral("Close the problems list"));
    m_list->setObjectName(QStringLiteral("ProblemsList"));
    m_list->setModel(m_model);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // long lists scroll without measuring every row
    m_list->setHeaderHidden(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->header()->setStretchLastSection(true);
    m_list->setColumnWidth(0, fontMetrics().horizontalAdvance(QStringLiteral("000000:000")) + 24);

    auto *top = new QHBoxLayout;
    top->setContentsMargins(4, 0, 0, 0);
    top->addWidget(m_summary, 1);
    top->addWidget(m_close);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(top);
    layout->addWidget(m_list, 1);

    connect(m_close, &QToolButton::clicked, this, &QWidget::hide);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
        if (index.isValid())
            emit Activated(index.row());
    });
    Refresh();
}

void ProblemsPanel::Refresh()
{
    // Typing takes rows away and moves them; the list stays where the user
    // had scrolled it.
    const int scrolled = m_list->verticalScrollBar()->value();
    m_model->Refresh();
    m_list->verticalScrollBar()->setValue(scrolled);
    m_summary->setText(
        ScriptCheck::Summary(m_marks.Count(TextMarks::Kind::Error), m_marks.Count(TextMarks::Kind::Warning)));
}

QString ProblemsPanel::SummaryText() const
{
    return m_summary->text();
}
