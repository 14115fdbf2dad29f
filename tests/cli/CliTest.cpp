#include "TestRegistry.h"

#include "cli/Cli.h"

#include <QBuffer>
#include <QTest>

namespace {

struct Run
{
    int status = 0;
    QByteArray out;
    QByteArray err;
};

Run RunCliCapture(const QStringList &args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    Run run;
    run.status = RunCli(args, CliStreams{out, err});
    run.out = out.data();
    run.err = err.data();
    return run;
}

} // namespace

class CliTest : public QObject
{
    Q_OBJECT

private slots:
    void helpListsEveryCommand()
    {
        const Run run = RunCliCapture({"--help"});
        QCOMPARE(run.status, 0);
        for (const char *name : {"highlight", "import", "check", "merge"})
            QVERIFY2(run.out.contains(name), name);
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
        const Run run = RunCliCapture(args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("tolvane-cli: "));
    }
};

TOLVANE_TEST(CliTest);
#include "CliTest.moc"
