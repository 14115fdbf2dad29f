#pragma once

#include <QDialog>
#include <QPoint>

class DialogService;
class QEvent;
class QFrame;
class QIcon;
class QLabel;
class QMouseEvent;
class QPushButton;
class QTimer;
class QToolButton;
struct ButtonStage;

// The program's icon, in every size it is drawn at; also the window icon.
[[nodiscard]] QIcon TolvaneIcon();
// The face of the hidden button, in the About box and in the merge dialog.
[[nodiscard]] QIcon HiddenButtonIcon();

// The About box: product name, version and credits. Under the program icon
// hides a button that only a drag of the icon with Ctrl and both mouse
// buttons held uncovers; clicked, it talks and runs away to the merge dialog.
class TAboutBox : public QDialog {
    Q_OBJECT

public:
    TAboutBox(DialogService &dialogs, ButtonStage &stage, QWidget *parent = nullptr);

    QFrame *Panel1;
    QToolButton *SpeedButton1; // the hidden button
    QLabel *ProgramIcon;
    QLabel *ProductName;
    QLabel *Version;
    QLabel *Copyright;
    QLabel *Comments;
    QLabel *Label1; // the web address
    QPushButton *OKButton;
    QTimer *Timer1; // moves the button out of the box

    // Where in the icon the drag combination was completed.
    QPoint DragPoint;

    void ProgramIconMouseDown(const QMouseEvent &event);
    void ProgramIconMouseMove(const QMouseEvent &event);
    void SpeedButton1Click();
    void Timer1Timer();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    DialogService &m_dialogs;
    ButtonStage &m_stage;
};
