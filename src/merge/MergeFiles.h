#pragma once

#include <QDialog>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

// The Merge Files dialog: the files to merge in order, the target, and the
// button that merges them.
class TMergeFileForm : public QDialog
{
    Q_OBJECT

public:
    explicit TMergeFileForm(QWidget *parent = nullptr);

    QListWidget *ListBox1;
    QPushButton *AddBtn;
    QPushButton *RemoveBtn;
    QPushButton *MoveUpBtn;
    QPushButton *MoveDownBtn;
    QLabel *Label1;
    QPlainTextEdit *Memo1;
    QLabel *TargetLbl;
    QPushButton *TargetBtn;
    QPushButton *MergeBtn;
};
