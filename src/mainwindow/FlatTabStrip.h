#pragma once

#include <QStringList>
#include <QWidget>

class QButtonGroup;
class QGridLayout;

// A tab strip drawn as flat buttons that wrap into several rows, for the
// narrow explorer panel where four tabs never fit one row.
class FlatTabStrip : public QWidget
{
    Q_OBJECT

public:
    explicit FlatTabStrip(const QStringList &tabs, int columns, QWidget *parent = nullptr);

    [[nodiscard]] int count() const;
    [[nodiscard]] int currentIndex() const;
    void setCurrentIndex(int index);
    [[nodiscard]] QString tabText(int index) const;

signals:
    // Only for a choice of the user, not for setCurrentIndex.
    void currentChanged(int index);

private:
    QButtonGroup *m_group;
    QStringList m_tabs;
    int m_current = 0;
};
