#include "TestRegistry.h"

#include "CliRun.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

CliRun RunCheck(const QStringList &args)
{
    return RunCliCaptured(QStringList { QStringLiteral("check") } + args);
}

} // namespace

class CheckCommandTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScratchCurrentFolder> m_dir;

    QString Write(const QString &name, const QByteArray &bytes) { return WriteIn(m_dir->Dir(), name, bytes); }

private slots:
    void initTestCase()
    {
        m_dir = std::make_unique<ScratchCurrentFolder>();
        QVERIFY(m_dir->IsValid());
    }
    void cleanupTestCase() { m_dir.reset(); }

    // Relative names in, the same names out; CR LF, LF and CR count lines alike.
    void oneFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::newRow("clean CR LF") << QByteArray("call F()\r\nreturn\r\n") << 0
                                     << QByteArray("a.j: No errors found!\n");
        QTest::newRow("empty file") << QByteArray() << 0 << QByteArray("a.j: No errors found!\n");
        QTest::newRow("third line LF")
            << QByteArray("call F()\nelse\nendif x\n") << 1 << QByteArray("a.j:3: End of line expected!\n");
        QTest::newRow("third line CR")
            << QByteArray("call F()\relse\rendif x") << 1 << QByteArray("a.j:3: End of line expected!\n");
        QTest::newRow("only first failure")
            << QByteArray("globals\ncall\n") << 1 << QByteArray("a.j:1: Unknown statement\n");
        QTest::newRow("cp1252 byte in a word")
            << QByteArray("call F(\"\xe9\")\n\xe9\n") << 1 << QByteArray("a.j:2: Unknown statement\n");
    }
    void oneFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        Write(QStringLiteral("a.j"), bytes);
        const CliRun run = RunCheck({ QStringLiteral("a.j") });
        QCOMPARE(run.status, status);
        QCOMPARE(run.out, out);
        QVERIFY(run.err.isEmpty());
    }

    void allReportsEveryFailingLine()
    {
        Write(QStringLiteral("b.j"), "globals\ninteger x\nendglobals\ncall F()\nset y 1\n");
        const CliRun run = RunCheck({ QStringLiteral("--all"), QStringLiteral("b.j") });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out,
            QByteArray("b.j:1: Unknown statement\n"
                       "b.j:2: Unknown statement\n"
                       "b.j:3: Unknown statement\n"
                       "b.j:5: No equal-sign (=) found\n"));
        Write(QStringLiteral("c.j"), "call F()\n");
        const CliRun clean = RunCheck({ QStringLiteral("c.j"), QStringLiteral("--all") });
        QCOMPARE(clean.status, 0);
        QCOMPARE(clean.out, QByteArray("c.j: No errors found!\n"));
    }

    void severalFilesOneLineEach()
    {
        Write(QStringLiteral("good.j"), "call F()\n");
        Write(QStringLiteral("bad.j"), "if x\n");
        const CliRun run
            = RunCheck({ QStringLiteral("good.j"), QStringLiteral("bad.j"), QStringLiteral("good.j") });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out,
            QByteArray("good.j: No errors found!\nbad.j:1: then is missing!\ngood.j: No errors found!\n"));
    }

    // An unreadable file is reported with its reason and the others still run;
    // it outranks failing lines in the exit status.
    void unreadableFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing") << "missing.j";
        QTest::newRow("folder") << "folder";
    }
    void unreadableFile()
    {
        QFETCH(QString, name);
        QVERIFY(QDir(m_dir->Path()).mkpath(QStringLiteral("folder")));
        Write(QStringLiteral("bad.j"), "if x\n");
        const CliRun run = RunCheck({ name, QStringLiteral("bad.j") });
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QByteArray("bad.j:1: then is missing!\n"));
        QVERIFY2(run.err.startsWith("tolvane-cli: ") && run.err.contains(name.toLocal8Bit()), run.err);
        QVERIFY(run.err.endsWith('\n'));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no file") << QStringList();
        QTest::newRow("--all alone") << QStringList { "--all" };
        QTest::newRow("unknown option") << QStringList { "--first", "c.j" };
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        Write(QStringLiteral("c.j"), "call F()\n");
        const CliRun run = RunCheck(args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("tolvane-cli: "));
    }

    void fileNamedLikeAnOptionAfterDoubleDash()
    {
        Write(QStringLiteral("--all"), "call\n");
        const CliRun run = RunCheck({ QStringLiteral("--"), QStringLiteral("--all") });
        QCOMPARE(run.status, 1);
        QCOMPARE(run.out, QByteArray("--all:1: Function expected after call\n"));
    }
};

TOLVANE_TEST(CheckCommandTest);
#include "CheckCommandTest.moc"
