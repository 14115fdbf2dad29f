#include "About.h"

#include "ButtonStage.h"
#include "platform/Dialogs.h"

#include <QFrame>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace {

// The drag follows the mouse only while exactly these are held: Ctrl, the
// left and the right button; Shift, Alt or the middle button spoil it.
bool IsDragCombination(const QMouseEvent &event)
{
    const Qt::KeyboardModifiers keys
        = event.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return keys == Qt::ControlModifier && event.buttons() == (Qt::LeftButton | Qt::RightButton);
}

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text, QPoint at)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->move(at);
    label->adjustSize();
    return label;
}

} // namespace

QIcon TolvaneIcon()
{
    QIcon icon;
    for (const int size : { 16, 32, 64, 128 })
        icon.addFile(QStringLiteral(":/about/tolvane-%1.png").arg(size), QSize(size, size));
    return icon;
}

QIcon HiddenButtonIcon()
{
    QIcon icon;
    icon.addFile(QStringLiteral(":/about/button.png"));
    icon.addFile(QStringLiteral(":/about/button@2x.png"));
    return icon;
}

TAboutBox::TAboutBox(DialogService &dialogs, ButtonStage &stage, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint)
    , m_dialogs(dialogs)
    , m_stage(stage)
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowIcon(TolvaneIcon());
    setFixedSize(294, 197);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    // A groove: a lowered outer and a raised inner bevel.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setGeometry(8, 8, 277, 154);

    // Made before the icon, so the icon lies on top and covers it.
    SpeedButton1 = new QToolButton(Panel1);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setAutoRaise(true);
    SpeedButton1->setIcon(HiddenButtonIcon());
    SpeedButton1->setIconSize(QSize(16, 16));
    SpeedButton1->setGeometry(28, 32, 23, 22);
    SpeedButton1->setFocusPolicy(Qt::NoFocus);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(8, 8, 65, 65);
    ProgramIcon->setScaledContents(true);
    ProgramIcon->setPixmap(TolvaneIcon().pixmap(QSize(128, 128)));
    ProgramIcon->installEventFilter(this);

    ProductName = MakeLabel(Panel1, "ProductName", QStringLiteral("Tolvane"), { 88, 16 });
    Version = MakeLabel(Panel1, "Version", QStringLiteral("1.10"), { 88, 40 });
    Copyright = MakeLabel(
        Panel1, "Copyright", QStringLiteral("Copyright \u00a9 2026 the Tolvane developers"), { 8, 80 });
    Comments
        = MakeLabel(Panel1, "Comments", QStringLiteral("A JASS script editor for map makers."), { 8, 104 });
    Comments->setWordWrap(true);
    Comments->setGeometry(8, 104, 261, 22);
    Label1 = MakeLabel(Panel1, "Label1", QStringLiteral("https://tolvane.example.org"), { 56, 128 });
    QFont bold = Label1->font();
    bold.setBold(true);
    Label1->setFont(bold);
    QPalette teal = Label1->palette();
    teal.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x80));
    Label1->setPalette(teal);
    Label1->adjustSize();

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 169, 75, 25);
    OKButton->setDefault(true);

    // Closing the box does not stop it: the button keeps running after OK.
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(50);

    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(SpeedButton1, &QToolButton::clicked, this, &TAboutBox::SpeedButton1Click);
    connect(Timer1, &QTimer::timeout, this, &TAboutBox::Timer1Timer);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TAboutBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ProgramIcon) {
        // A double click arrives as its own event type and takes no drag point.
        if (event->type() == QEvent::MouseButtonPress)
            ProgramIconMouseDown(*static_cast<QMouseEvent *>(event));
        else if (event->type() == QEvent::MouseMove)
            ProgramIconMouseMove(*static_cast<QMouseEvent *>(event));
    }
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::ProgramIconMouseDown(const QMouseEvent &event)
{
    // The press that completes the combination sets where the icon is held.
    if (IsDragCombination(event))
        DragPoint = event.position().toPoint();
}

void TAboutBox::ProgramIconMouseMove(const QMouseEvent &event)
{
    if (!IsDragCombination(event))
        return;
    ProgramIcon->move(ProgramIcon->pos() + event.position().toPoint() - DragPoint);
}

void TAboutBox::SpeedButton1Click()
{
    for (const QString &text : ButtonStage::Messages(ButtonStage::InAboutBox))
        m_dialogs.ShowMessage(this, text);
    SpeedButton1->setEnabled(false);
    Timer1->start();
}

void TAboutBox::Timer1Timer()
{
    SpeedButton1->move(SpeedButton1->x() + 4, SpeedButton1->y());
    if (SpeedButton1->x() > frameGeometry().width()) {
        Timer1->stop();
        m_stage.Advance(ButtonStage::InMergeDialog);
    }
}
