#include "FaultInjection.h"
#include "TestRegistry.h"

#include "../cli/CliRun.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

CliRun Import(const QStringList &args)
{
    return RunCliCaptured(QStringList { "import" } + args);
}

void Write(const QString &name, const QByteArray &bytes)
{
    QVERIFY(WriteAll(name, bytes));
}

const QStringList kLanguageFiles { "Func.txt", "Const.txt", "Syn.txt", "AIFunc.txt", "AIConst.txt" };

} // namespace

Q_DECLARE_METATYPE(WriteFault)

class ImportCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    QString Path(const QString &name) const { return m_dir->filePath(name); }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        Write(Path("game.j"),
            "type unit extends handle\r\n"
            "globals\r\n    constant integer X = 1\r\n    unit array U\r\nendglobals\r\n"
            "native F takes unit u returns integer\r\n");
        Write(Path("ai.ai"),
            "globals\r\n    constant integer A = 2\r\nendglobals\r\n"
            "function G takes nothing returns nothing\r\nendfunction\r\n");
    }
    void cleanup() { m_dir.reset(); }

    void writesTheFiveFiles()
    {
        const CliRun run = Import({ "-o", Path("out"), Path("game.j"), Path("ai.ai") });
        QCOMPARE(run.status, 0);
        QVERIFY(run.err.isEmpty());
        QVERIFY(run.out.contains("Func.txt: 1 functions"));
        QCOMPARE(ReadAll(Path("out/Func.txt")), QByteArray("F takes unit u returns integer\r\n"));
        QCOMPARE(ReadAll(Path("out/Const.txt")), QByteArray("integer X = 1\r\nunit U array\r\n"));
        QCOMPARE(ReadAll(Path("out/AIFunc.txt")), QByteArray("G takes nothing returns nothing\r\n"));
        QCOMPARE(ReadAll(Path("out/AIConst.txt")), QByteArray("constant integer A = 2\r\n"));
        QVERIFY(ReadAll(Path("out/Syn.txt")).contains("\r\nunit\r\n"));
        QVERIFY(ReadAll(Path("out/Api.txt"))
                    .endsWith("type unit handle\nnative F integer unit u\nglobal constant integer X\nglobal "
                              "array unit U\n"));
        QVERIFY(ReadAll(Path("out/AIApi.txt")).contains("native F integer unit u\nfunction G nothing\n"));
    }

    void aiOptionOverridesTheFileName()
    {
        QVERIFY(QFile::copy(Path("ai.ai"), Path("ai.j")));
        QCOMPARE(Import({ "-o", Path("out"), "--ai", Path("ai.j") }).status, 0);
        QCOMPARE(ReadAll(Path("out/AIConst.txt")), QByteArray("constant integer A = 2\r\n"));
        QCOMPARE(ReadAll(Path("out/Const.txt")), QByteArray());
    }

    // A bad input stops everything before the first write, so files the user
    // has in the folder stay as they were.
    void badInputWritesNothing_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("README.md") << "README.md"
                                   << QByteArray("README.md, line 1: not a JASS declaration: # Hi");
        QTest::newRow("missing.j") << "missing.j" << QByteArray("Cannot open file");
    }
    void badInputWritesNothing()
    {
        QFETCH(QString, bad);
        QFETCH(QByteArray, message);
        Write(Path("README.md"), "# Hi\r\n");
        QVERIFY(QDir().mkpath(Path("out")));
        Write(Path("out/Func.txt"), "Mine takes nothing returns nothing\r\n");
        const CliRun run = Import({ "-o", Path("out"), Path("game.j"), Path(bad) });
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.startsWith("tolvane-cli: import: "), run.err.constData());
        QVERIFY2(run.err.contains(message), run.err.constData());
        QCOMPARE(QDir(Path("out")).entryList(QDir::Files), QStringList { "Func.txt" });
        QCOMPARE(ReadAll(Path("out/Func.txt")), QByteArray("Mine takes nothing returns nothing\r\n"));
    }

    // The five files are replaced together or not at all: a write that fails
    // on any of them leaves the old set, and one line on standard error names
    // the file and the reason.
    void writeFaults_data()
    {
        QTest::addColumn<WriteFault>("fault");
        QTest::addColumn<QString>("target");
        QTest::newRow("import output/read-only folder") << WriteFault::ReadOnlyFolder << "Func.txt";
        QTest::newRow("import output/target is a folder") << WriteFault::TargetIsFolder << "Syn.txt";
        QTest::newRow("import output/full disk") << WriteFault::FullDisk << "Func.txt";
        // Func.txt and Const.txt fit, Syn.txt stops half-way.
        QTest::newRow("import output/half-way") << WriteFault::HalfWay << "Syn.txt";
    }
    void writeFaults()
    {
        QFETCH(WriteFault, fault);
        QFETCH(QString, target);
        const QStringList args { Path("game.j"), Path("ai.ai") };
        QCOMPARE(Import(QStringList { "-o", Path("new") } + args).status, 0);
        const qint64 fits
            = std::max(QFileInfo(Path("new/Func.txt")).size(), QFileInfo(Path("new/Const.txt")).size());
        QVERIFY(QFileInfo(Path("new/Syn.txt")).size() > fits);
        QVERIFY(QDir().mkpath(Path("out")));
        for (const QString &name : kLanguageFiles)
            Write(Path("out/" + name), "old " + name.toLatin1() + "\r\n");
        ShareWithUnprivilegedUser(m_dir->path());

        CliRun run;
        {
            InjectedFault injected(fault, Path("out/" + target), static_cast<rlim_t>(fits));
            if (!injected.Failure().isEmpty())
                QSKIP(qPrintable(injected.Failure()));
            run = Import(QStringList { "-o", Path("out") } + args);
        }
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err.count('\n'), 1);
        QVERIFY2(run.err.contains(Path("out/" + target).toUtf8()), run.err.constData());
        QVERIFY2(run.err.contains(InjectedFault::Reason(fault).toUtf8()), run.err.constData());
        QCOMPARE(
            QDir(Path("out")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 5);
        for (const QString &name : kLanguageFiles) {
            if (fault == WriteFault::TargetIsFolder && name == target)
                QVERIFY(InjectedFault::IsUntouchedFolder(Path("out/" + name)));
            else
                QCOMPARE(ReadAll(Path("out/" + name)), "old " + name.toLatin1() + "\r\n");
        }
    }

    // An output folder that cannot be made is reported with the reason.
    void outputFolderCannotBeMade_data()
    {
        QTest::addColumn<bool>("parentReadOnly");
        QTest::newRow("import output/folder in a read-only folder") << true;
        QTest::newRow("import output/a file in the folder's place") << false;
    }
    void outputFolderCannotBeMade()
    {
        QFETCH(bool, parentReadOnly);
        QVERIFY(QDir().mkpath(Path("parent")));
        if (!parentReadOnly)
            Write(Path("parent/out"), "the user's file\r\n");
        ShareWithUnprivilegedUser(m_dir->path());
        CliRun run;
        if (parentReadOnly) {
            ReadOnlyFolder guard(Path("parent"));
            if (!guard.Failure().isEmpty())
                QSKIP(qPrintable(guard.Failure()));
            run = Import({ "-o", Path("parent/out"), Path("game.j") });
        } else {
            run = Import({ "-o", Path("parent/out"), Path("game.j") });
        }
        QCOMPARE(run.status, 2);
        const QByteArray reason
            = QString::fromLocal8Bit(std::strerror(parentReadOnly ? EACCES : ENOTDIR)).toUtf8();
        QVERIFY2(run.err.contains(Path("parent/out").toUtf8()), run.err.constData());
        QVERIFY2(run.err.contains(reason), run.err.constData());
        QCOMPARE(QDir(Path("parent")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
            parentReadOnly ? QStringList() : QStringList { "out" });
        if (!parentReadOnly)
            QCOMPARE(ReadAll(Path("parent/out")), QByteArray("the user's file\r\n"));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no arguments") << QStringList();
        QTest::newRow("no -o") << QStringList { "game.j" };
        QTest::newRow("-o without folder") << QStringList { "game.j", "-o" };
        QTest::newRow("--ai without file") << QStringList { "-o", "out", "--ai" };
        QTest::newRow("no files") << QStringList { "-o", "out" };
        QTest::newRow("unknown option") << QStringList { "-o", "out", "--frob", "game.j" };
    }
    void usageErrors()
    {
        QFETCH(QStringList, args);
        const CliRun run = Import(args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY(run.err.startsWith("tolvane-cli: import: "));
    }

    void helpTellsHowFilesAreSorted()
    {
        const CliRun run = Import({ "--help" });
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains(".ai"));
        QVERIFY(run.out.contains("--ai FILE"));
    }
};

TOLVANE_TEST(ImportCommandTest);
#include "ImportCommandTest.moc"
