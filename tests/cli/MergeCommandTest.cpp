#include "TestRegistry.h"

#include "cli/Cli.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct MergeRun {
    int status = 0;
    QByteArray out;
    QByteArray err;
};

MergeRun RunMerge(const QStringList &args)
{
    QBuffer out;
    QBuffer err;
    out.open(QIODevice::WriteOnly);
    err.open(QIODevice::WriteOnly);
    MergeRun run;
    run.status = RunCli(QStringList { QStringLiteral("merge") } + args, CliStreams { out, err });
    run.out = out.data();
    run.err = err.data();
    return run;
}

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class MergeCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

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
        const MergeRun run = RunMerge({ QStringLiteral("-o"), target, a, b });
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
        const MergeRun run = RunMerge({ a, QStringLiteral("-o"), target });
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
        const MergeRun run = RunMerge({ QStringLiteral("-o"), m_dir.filePath(target),
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
        const MergeRun run = RunMerge(args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("tolvane-cli: merge: "));
    }
};

TOLVANE_TEST(MergeCommandTest);
#include "MergeCommandTest.moc"
