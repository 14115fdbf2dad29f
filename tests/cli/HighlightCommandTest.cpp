#include "TestRegistry.h"

#include "CliRun.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <memory>

namespace {

CliRun RunHighlight(const QStringList &args)
{
    return RunCliCaptured(QStringList { QStringLiteral("highlight") } + args);
}

const QStringList kLanguageFiles = { "Func.txt", "Const.txt", "Syn.txt", "AIFunc.txt", "AIConst.txt" };

} // namespace

// Each case runs in a fresh current folder, where the command finds its
// configuration and language files as the editor does.
//
// Golden cases: tests/cli/data/<case>/ holds the language files, script.j and
// expected.rtf. On a mismatch the output is written beside it as
// expected.rtf.new; review it and rename it to accept.
class HighlightCommandTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ScratchCurrentFolder> m_dir;

private slots:
    void init()
    {
        m_dir = std::make_unique<ScratchCurrentFolder>();
        QVERIFY(m_dir->IsValid());
    }
    void cleanup() { m_dir.reset(); }

    void goldenDocuments_data()
    {
        QTest::addColumn<QString>("name");
        // One bold blue class holding "call", nine points: the engine's worked example.
        QTest::newRow("worked-example") << "worked-example";
        // Names of all four declaration files coloured beside the syntax words.
        QTest::newRow("declarations") << "declarations";
        // A UTF-8 script is read as text, not as its code page 1252 bytes.
        QTest::newRow("utf8-script") << "utf8-script";
        // No lines: the editor loads no document.
        QTest::newRow("empty-script") << "empty-script";
    }
    void goldenDocuments()
    {
        QFETCH(QString, name);
        const QString source = QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + name;
        for (const QString &file : kLanguageFiles) {
            if (QFile::exists(source + u'/' + file))
                QVERIFY(QFile::copy(source + u'/' + file, file));
        }
        const CliRun run = RunHighlight({ source + QLatin1String("/script.j") });
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.status, 0);
        const QString expectedFile = source + QLatin1String("/expected.rtf");
        const QByteArray expected = ReadAll(expectedFile);
        if (run.out != expected)
            QVERIFY(WriteAll(expectedFile + QLatin1String(".new"), run.out));
        QCOMPARE(run.out, expected);
        QVERIFY(QFile::exists("JassConfig.txt"));
    }

    void errorsExitTwo_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("syntax"); // Syn.txt in the current folder
        QTest::addColumn<QString>("message");
        const QByteArray syntax = "@clBlue\r\ncall\r\n";
        QTest::newRow("missing file") << QStringList { "missing.j" } << syntax << "missing.j";
        QTest::newRow("folder") << QStringList { "." } << syntax << "Is a directory";
        QTest::newRow("bad colour in syntax file")
            << QStringList { "script.j" } << QByteArray("@clNavyBlue\r\ncall\r\n")
            << "'clNavyBlue' is not a valid integer value";
        QTest::newRow("no file") << QStringList {} << syntax << "give exactly one file";
        QTest::newRow("two files") << QStringList { "script.j", "script.j" } << syntax
                                   << "give exactly one file";
        QTest::newRow("unknown option")
            << QStringList { "--ai", "script.j" } << syntax << "unknown option '--ai'";
    }
    void errorsExitTwo()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, syntax);
        QFETCH(QString, message);
        QVERIFY(WriteAll("Syn.txt", syntax));
        QVERIFY(WriteAll("script.j", "call Foo(1)\r\n"));
        const CliRun run = RunHighlight(args);
        QCOMPARE(run.status, 2);
        QCOMPARE(run.out, QByteArray());
        QVERIFY2(run.err.startsWith("tolvane-cli: "), run.err.constData());
        QVERIFY2(QString::fromLocal8Bit(run.err).contains(message), run.err.constData());
    }

    void fileNamedAfterDoubleDash()
    {
        QVERIFY(WriteAll("-script.j", "x\r\n"));
        const CliRun run = RunHighlight({ "--", "-script.j" });
        QCOMPARE(run.status, 0);
        QVERIFY(run.out.contains("\\fs18 x\\par"));
    }
};

TOLVANE_TEST(HighlightCommandTest);
#include "HighlightCommandTest.moc"
