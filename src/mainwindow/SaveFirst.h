#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// The save-first prompt: "Do you want to save first?" with Yes, No and
// Cancel. It has no code of its own; the caller reads the ModalResult that
// closed it. Escape and any other way of closing it answer Cancel.
class TSaveFirstForm : public QDialog
{
    Q_OBJECT

public:
    explicit TSaveFirstForm(QWidget *parent = nullptr);

    QLabel *Label1;
    QPushButton *YesBtn;
    QPushButton *NoBtn;
    QPushButton *CancelBtn;
};
