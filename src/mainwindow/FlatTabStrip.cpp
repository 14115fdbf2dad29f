#include "FlatTabStrip.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QToolButton>

FlatTabStrip::FlatTabStrip(const QStringList &tabs, int columns, QWidget *parent)
    : QWidget(parent)
    , m_group(new QButtonGroup(this))
    , m_tabs(tabs)
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    for (int i = 0; i < tabs.size(); ++i) {
        auto *button = new QToolButton(this);
        button->setText(tabs.at(i));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        button->setObjectName(QStringLiteral("Tab%1").arg(i));
        m_group->addButton(button, i);
        layout->addWidget(button, i / columns, i % columns);
    }
    m_group->setExclusive(true);
    if (!tabs.isEmpty())
        m_group->button(0)->setChecked(true);
    connect(m_group, &QButtonGroup::idClicked, this, [this](int id) {
        if (id != m_current) {
            m_current = id;
            emit currentChanged(id);
        }
    });
}

int FlatTabStrip::count() const
{
    return int(m_tabs.size());
}

int FlatTabStrip::currentIndex() const
{
    return m_group->checkedId();
}

void FlatTabStrip::setCurrentIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index)) {
        button->setChecked(true);
        m_current = index;
    }
}

QString FlatTabStrip::tabText(int index) const
{
    return m_tabs.value(index);
}
