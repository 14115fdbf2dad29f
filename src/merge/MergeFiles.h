#pragma once

#include "platform/Dialogs.h"

#include <QDialog>
#include <QStringList>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class QToolButton;
class QWidget;
struct ButtonStage;

// The Merge Files dialog: the files to merge in order, the target, and the
// button that merges them. Created once; the sources and the target last for
// the whole run.
class TMergeFileForm : public QDialog {
    Q_OBJECT

public:
    TMergeFileForm(DialogService &dialogs, ButtonStage &stage, QWidget *parent = nullptr);

    QListWidget *ListBox1;
    QWidget *Panel1; // the right-hand buttons
    QPushButton *AddBtn;
    QPushButton *RemoveBtn;
    QPushButton *MoveUpBtn;
    QPushButton *MoveDownBtn;
    QToolButton *SpeedButton1; // the hidden button, when it has come this far
    QLabel *Label1; // "Warning:"
    QPlainTextEdit *Memo1;
    QWidget *Panel2; // target and merge
    QLabel *TargetLbl;
    QPushButton *TargetBtn;
    QPushButton *MergeBtn;
    QTimer *Timer1; // moves the hidden button out of the dialog

    FileDialogOptions OpenDialog1;
    FileDialogOptions SaveDialog1;

    // Full paths in merge order; the rows show their file names until a
    // merge replaces them with the declared names.
    QStringList Sources;
    QString Target;

    void FormCreate();
    void FormShow();
    void AddBtnClick();
    void RemoveBtnClick();
    void MoveUpBtnClick();
    void MoveDownBtnClick();
    void ListBox1Click();
    void TargetBtnClick();
    void MergeBtnClick();
    void SpeedButton1Click();
    void Timer1Timer();
    void UpdateMergeButtons();

    // True while the rows show the last merge's declared names instead of
    // the sources; the buttons that act on a source by its row wait until
    // Add shows the sources again.
    [[nodiscard]] bool RowsShowNames() const { return m_rowsShowNames; }

signals:
    // The hidden button has left the dialog for the Tools menu.
    void ButtonReachedMenu();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showSourceRows();
    void exchange(int row, int other);

    DialogService &m_dialogs;
    ButtonStage &m_stage;
    bool m_rowsShowNames = false;
};
