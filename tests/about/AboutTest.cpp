#include "TestRegistry.h"

#include "about/About.h"
#include "about/ButtonStage.h"
#include "app/Project1.h"
#include "mainwindow/Main.h"
#include "merge/MergeFiles.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

void SendMouse(QWidget *target, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
    Qt::KeyboardModifiers keys)
{
    const QPointF local(at);
    QMouseEvent event(type, local, target->mapToGlobal(local), button, held, keys);
    QApplication::sendEvent(target, &event);
}

// Ticks a timer by hand until it stops; the number of ticks it took.
int TickUntilStopped(QTimer &timer, const std::function<void()> &tick)
{
    int ticks = 0;
    while (timer.isActive() && ticks < 1000) {
        tick();
        ++ticks;
    }
    return ticks;
}

// One run of the program in a fresh current folder, dialogs answered by script.
class Session {
public:
    Session()
        : m_oldCurrent(QDir::currentPath())
    {
        QDir::setCurrent(Work.path());
        program = CreateProgram(Dialogs, Exe.path(), Exe.path());
    }
    ~Session()
    {
        program.MainForm.reset();
        QDir::setCurrent(m_oldCurrent);
    }
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    int Stage() const { return program.MainForm->State.Button.Value; }

    QTemporaryDir Work;
    QTemporaryDir Exe;
    ScriptedDialogService Dialogs;
    Program program;

private:
    QString m_oldCurrent;
};

} // namespace

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void dragNeedsExactlyCtrlAndBothButtons_data()
    {
        QTest::addColumn<Qt::MouseButtons>("held");
        QTest::addColumn<Qt::KeyboardModifiers>("keys");
        QTest::addColumn<bool>("moves");
        const Qt::MouseButtons both = Qt::LeftButton | Qt::RightButton;
        QTest::newRow("ctrl left right") << both << Qt::KeyboardModifiers(Qt::ControlModifier) << true;
        QTest::newRow("ctrl left") << Qt::MouseButtons(Qt::LeftButton)
                                   << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
        QTest::newRow("ctrl shift left right")
            << both << Qt::KeyboardModifiers(Qt::ControlModifier | Qt::ShiftModifier) << false;
        QTest::newRow("left right") << both << Qt::KeyboardModifiers() << false;
        QTest::newRow("ctrl left right middle")
            << (both | Qt::MiddleButton) << Qt::KeyboardModifiers(Qt::ControlModifier) << false;
    }
    void dragNeedsExactlyCtrlAndBothButtons()
    {
        QFETCH(Qt::MouseButtons, held);
        QFETCH(Qt::KeyboardModifiers, keys);
        QFETCH(bool, moves);
        ScriptedDialogService dialogs;
        ButtonStage stage;
        TAboutBox box(dialogs, stage);
        QLabel *icon = box.ProgramIcon;
        SendMouse(icon, QEvent::MouseButtonPress, { 10, 10 }, Qt::RightButton, held, keys);
        SendMouse(icon, QEvent::MouseMove, { 30, 25 }, Qt::NoButton, held, keys);
        QCOMPARE(icon->pos(), moves ? QPoint(28, 23) : QPoint(8, 8));
    }

    void dragPointIsTakenByTheCompletingPress()
    {
        ScriptedDialogService dialogs;
        ButtonStage stage;
        TAboutBox box(dialogs, stage);
        QLabel *icon = box.ProgramIcon;
        const Qt::MouseButtons both = Qt::LeftButton | Qt::RightButton;
        SendMouse(
            icon, QEvent::MouseButtonPress, { 2, 3 }, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
        SendMouse(icon, QEvent::MouseButtonPress, { 20, 20 }, Qt::RightButton, both, Qt::ControlModifier);
        QCOMPARE(box.DragPoint, QPoint(20, 20));
        SendMouse(icon, QEvent::MouseMove, { 64, 40 }, Qt::NoButton, both, Qt::ControlModifier);
        QCOMPARE(icon->pos(), QPoint(52, 28));
        // The uncovered button answers a click.
        QTest::mouseClick(box.SpeedButton1, Qt::LeftButton);
        QCOMPARE(dialogs.Messages().size(), 11);
    }

    void theChaseThroughThreeWindows()
    {
        Session s;
        TMainForm &main = *s.program.MainForm;
        TAboutBox &about = *s.program.AboutBox;
        TMergeFileForm &merge = *s.program.MergeFileForm;
        merge.FormShow();
        QVERIFY(merge.SpeedButton1->isHidden());
        QVERIFY(!main.Dontclickonme1->isVisible());

        // Found in the About box: eleven messages, then it runs.
        about.SpeedButton1->click();
        QCOMPARE(s.Dialogs.Messages(), ButtonStage::Messages(ButtonStage::InAboutBox));
        QCOMPARE(s.Dialogs.Messages().first(), QStringLiteral("Damn you for finding me!!"));
        QCOMPARE(s.Dialogs.Messages().last(), QStringLiteral("I'm going to hide a little better now"));
        QVERIFY(!about.SpeedButton1->isEnabled());
        QVERIFY(about.Timer1->isActive());
        QCOMPARE(about.Timer1->interval(), 50);
        about.SpeedButton1->click();
        QCOMPARE(s.Dialogs.Messages().size(), 11);
        QCOMPARE(s.Stage(), 1);
        const int x = about.SpeedButton1->x();
        about.Timer1Timer();
        QCOMPARE(about.SpeedButton1->x(), x + 4);
        TickUntilStopped(*about.Timer1, [&] { about.Timer1Timer(); });
        QVERIFY(about.SpeedButton1->x() > about.frameGeometry().width());
        QVERIFY(about.SpeedButton1->x() <= about.frameGeometry().width() + 4);
        QCOMPARE(s.Stage(), 2);

        // Shown in the merge dialog only now.
        merge.show();
        QVERIFY(merge.SpeedButton1->isVisible());
        s.Dialogs.History.clear();
        QTest::mouseClick(merge.SpeedButton1, Qt::LeftButton);
        QCOMPARE(s.Dialogs.Messages(), ButtonStage::Messages(ButtonStage::InMergeDialog));
        QCOMPARE(s.Dialogs.Messages().last(), QStringLiteral("This time you better not find me again..."));
        QVERIFY(!merge.SpeedButton1->isEnabled());
        merge.Timer1Timer();
        QCOMPARE(merge.SpeedButton1->y(), 60 - 4);

        // Closed while the button still rises: it reaches the menu anyway.
        merge.reject();
        QVERIFY(!merge.isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(main.Dontclickonme1->isVisible(), 5000);
        QCOMPARE(s.Stage(), 3);
        QVERIFY(merge.SpeedButton1->y() + merge.SpeedButton1->height() < 0);
        merge.show();
        QVERIFY(merge.SpeedButton1->isHidden());
        merge.hide();

        // Found in the Tools menu: seven messages and gone for good.
        s.Dialogs.History.clear();
        main.Dontclickonme1->trigger();
        QCOMPARE(s.Dialogs.Messages(), ButtonStage::Messages(ButtonStage::InToolsMenu));
        QCOMPARE(s.Dialogs.Messages().size(), 7);
        QVERIFY(!main.Dontclickonme1->isVisible());
        QCOMPARE(s.Stage(), 4);
        merge.FormShow();
        QVERIFY(merge.SpeedButton1->isHidden());
        QVERIFY(!main.Dontclickonme1->isVisible());
    }

    void stageNeverGoesBack()
    {
        ButtonStage stage;
        stage.Advance(ButtonStage::InToolsMenu);
        stage.Advance(ButtonStage::InMergeDialog);
        QCOMPARE(stage.Value, 3);
    }
};

TOLVANE_TEST(AboutTest);
#include "AboutTest.moc"
