#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

// The About box: the product name and version, closed with OK.
class TAboutBox : public QDialog
{
    Q_OBJECT

public:
    explicit TAboutBox(QWidget *parent = nullptr);

    QFrame *Panel1;
    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QPushButton *OKButton;
};
