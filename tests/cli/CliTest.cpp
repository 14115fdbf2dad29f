#include "TestRegistry.h"

#include "CliRun.h"

#include <QTest>

class CliTest : public QObject
{
    Q_OBJECT

private slots:
    void helpListsEveryCommand()
    {
        const CliRun run = RunCliCaptured({"--help"});
        QCOMPARE(run.status, 0);
        for (const char *name : {"highlight", "import", "check", "lint", "merge", "--version"})
            QVERIFY2(run.out.contains(name), name);
    }

    void versionIsPrinted()
    {
        for (const char *option : { "--version", "-V" }) {
            QCOMPARE(RunCliCaptured({ option }).status, 0);
            QCOMPARE(RunCliCaptured({ option }).out, QByteArray("tolvane-cli 1.10\n"));
        }
    }

    void unknownCommandsAndOptionsExitTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList{"frobnicate"};
        QTest::newRow("unknown option") << QStringList{"--frobnicate"};
    }
    void unknownCommandsAndOptionsExitTwo()
    {
        QFETCH(QStringList, args);
        const CliRun run = RunCliCaptured(args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("tolvane-cli: "));
    }
};

TOLVANE_TEST(CliTest);
#include "CliTest.moc"
