#pragma once

#include <QAbstractTableModel>
#include <QWidget>

class QLabel;
class QToolButton;
class QTreeView;
class TextMarks;

// The rows of the problems list: one per mark, in text order, with its
// severity icon, "line:column" and message.
class ProblemsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    ProblemsModel(const TextMarks &marks, QObject *parent);

    // The marks changed: every row is read again.
    void Refresh();

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;

private:
    const TextMarks &m_marks;
    QIcon m_error;
    QIcon m_warning;
};

// The problems list below the editor: a summary line with a close button
// and the rows. Activating a row (double-click, Enter) raises Activated with
// the index of its mark.
class ProblemsPanel : public QWidget {
    Q_OBJECT

public:
    ProblemsPanel(const TextMarks &marks, QWidget *parent);

    // Reads the marks again; the summary counts them.
    void Refresh();
    [[nodiscard]] QString SummaryText() const;
    [[nodiscard]] QTreeView *List() const { return m_list; }

signals:
    void Activated(int mark);

private:
    const TextMarks &m_marks;
    ProblemsModel *m_model;
    QLabel *m_summary;
    QToolButton *m_close;
    QTreeView *m_list;
};
