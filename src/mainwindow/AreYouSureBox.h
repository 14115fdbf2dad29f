#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The confirmation prompt: "Are you sure? This cannot be undone." with Yes
// and No. The caller reads the ModalResult; Escape answers No.
class TConfirmBox : public QDialog
{
    Q_OBJECT

public:
    explicit TConfirmBox(QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *YesBtn;
    QPushButton *NoBtn;

public slots:
    // Escape, or closing the window any other way, means No.
    void reject() override;
};
