#include "TestRegistry.h"

#include "CliRun.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {

CliRun RunMerge(const QStringList &args)
{
    return RunCliCaptured(QStringList { QStringLiteral("merge") } + args);
}

} // namespace

class MergeCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Write(const QString &name, const QByteArray &bytes) { return WriteIn(m_dir, name, bytes); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void mergesAndPrintsTheTwoMessageLines()
    {
        const QString a = Write(QStringLiteral("a.j"),
            "function F takes nothing returns nothing\n"
            "endfunction\n");
        const QString b = Write(QStringLiteral("b.j"),
            "function F takes nothing returns nothing\r\n"
            "    call G()\r\n"
            "endfunction\r\n"
            "call H()");
        const QString target = m_dir.filePath(QStringLiteral("merged.j"));
        const CliRun run = RunMerge({ QStringLiteral("-o"), target, a, b });
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, QByteArray("Done merging files!\nOutput: merged.j\n"));
        QVERIFY(run.err.isEmpty());
        QCOMPARE(ReadAll(target),
            QByteArray("function F takes nothing returns nothing\r\n"
                       "endfunction\r\n"
                       "\r\n"
                       "call H()\r\n"
                       "\r\n"));
    }

    void targetAfterTheSources()
    {
        const QString a = Write(QStringLiteral("c.j"), "call A()\n");
        const QString target = m_dir.filePath(QStringLiteral("after.j"));
        const CliRun run = RunMerge({ a, QStringLiteral("-o"), target });
        QCOMPARE(run.status, 0);
        QCOMPARE(ReadAll(target), QByteArray("call A()\r\n\r\n"));
    }

    // The reason goes to standard error, nothing to standard output, and an
    // existing target keeps its bytes.
    void failures_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("target");
        QTest::newRow("missing source") << "missing.j"
                                        << "kept.j";
        QTest::newRow("target in a missing folder") << "ok.j"
                                                    << "nowhere/out.j";
        QTest::newRow("target is a folder") << "ok.j"
                                            << "folder";
    }
    void failures()
    {
        QFETCH(QString, source);
        QFETCH(QString, target);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
        Write(QStringLiteral("ok.j"), "call A()\n");
        Write(QStringLiteral("kept.j"), "kept\n");
        const CliRun run = RunMerge({ QStringLiteral("-o"), m_dir.filePath(target),
            m_dir.filePath(QStringLiteral("ok.j")), m_dir.filePath(source) });
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith("tolvane-cli: "), run.err);
        QCOMPARE(ReadAll(m_dir.filePath(QStringLiteral("kept.j"))), QByteArray("kept\n"));
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("nowhere"))));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("no target") << QStringList { "a.j", "b.j" };
        QTest::newRow("-o without value") << QStringList { "a.j", "-o" };
        QTest::newRow("no source") << QStringList { "-o", "out.j" };
        QTest::newRow("-o twice") << QStringList { "-o", "x.j", "-o", "y.j", "a.j" };
        QTest::newRow("unknown option") << QStringList { "--all", "-o", "x.j", "a.j" };
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        const CliRun run = RunMerge(args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("tolvane-cli: merge: "));
    }
};

TOLVANE_TEST(MergeCommandTest);
#include "MergeCommandTest.moc"
