#include "TestRegistry.h"

#include "merge/Merge.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

} // namespace

class MergeTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void lineBeginsWith_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("begins");
        QTest::newRow("functional") << "functional"
                                    << "function" << true;
        QTest::newRow("endfunction") << "endfunction"
                                     << "function" << false;
        QTest::newRow("   globals") << "   globals"
                                    << "globals" << true;
        QTest::newRow("tab globals") << "\tglobals"
                                     << "globals" << false;
        QTest::newRow("Globals") << "Globals"
                                 << "globals" << false;
        QTest::newRow("spaces only") << "    "
                                     << "//" << false;
        QTest::newRow("  //x") << "  //x"
                               << "//" << true;
        QTest::newRow("short line") << "nat"
                                    << "native" << false;
    }
    void lineBeginsWith()
    {
        QFETCH(QString, line);
        QFETCH(QString, text);
        QFETCH(bool, begins);
        QCOMPARE(LineBeginsWith(line, text), begins);
    }

    // Each row merges the sources in memory and names the expected target lines
    // and declared names.
    void mergeSources_data()
    {
        QTest::addColumn<QList<QStringList>>("sources");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("names");

        const QStringList f { "function F takes nothing returns nothing", "    call G()", "endfunction" };
        QTest::newRow("repeated function with body")
            << QList<QStringList> { f + QStringList { "call A()" }, f + QStringList { "call B()" } }
            << f + QStringList { "call A()", "", "call B()", "" } << QStringList { "F" };
        QTest::newRow("one name space: global then native")
            << QList<QStringList> { { "globals", "integer N", "endglobals" },
                   { "native N takes nothing returns nothing" } }
            << QStringList { "globals", "integer N", "endglobals", "", "" } << QStringList { "N" };
        QTest::newRow("two globals blocks")
            << QList<QStringList> { { "globals", "integer x", "endglobals" },
                   { "globals", "real y", "integer x", "endglobals" } }
            << QStringList { "globals", "integer x", "real y", "endglobals", "", "" }
            << QStringList { "x", "y" };
        QTest::newRow("integer array counts names counts")
            << QList<QStringList> { { "globals", "integer array counts", "real array speeds", "endglobals" },
                   { "globals", "integer array counts", "endglobals" } }
            << QStringList { "globals", "integer array counts", "real array speeds", "endglobals", "", "" }
            << QStringList { "counts", "speeds" };
        QTest::newRow("integer x=1 names x")
            << QList<QStringList> { { "globals", "integer x=1", "integer x = 2", "constant real Y=1",
                   "endglobals", "constant integer Z=2", "constant integer Z = 3" } }
            << QStringList { "globals", "integer x=1", "constant real Y=1", "endglobals",
                   "constant integer Z=2", "" }
            << QStringList { "x", "Y", "Z" };
        QTest::newRow("case makes names differ")
            << QList<QStringList> { { "native Foo takes nothing returns nothing" },
                   { "native foo takes nothing returns nothing" } }
            << QStringList { "native Foo takes nothing returns nothing", "",
                   "native foo takes nothing returns nothing", "" }
            << QStringList { "foo", "Foo" };
        QTest::newRow("repeated constant function drops only its header")
            << QList<QStringList> { { "constant function C takes nothing returns integer", "return 1",
                                        "endfunction" },
                   { "constant function C takes nothing returns integer", "return 2", "endfunction" } }
            << QStringList { "constant function C takes nothing returns integer", "return 1", "endfunction",
                   "", "return 2", "endfunction", "" }
            << QStringList { "C" };
        QTest::newRow("comments copied, inside a repeated function dropped")
            << QList<QStringList> { { "// one", "function F takes nothing returns nothing", "// body",
                                        "endfunction" },
                   { "// one", "function F takes nothing returns nothing", "// body", "endfunction",
                       "  // two" } }
            << QStringList { "// one", "function F takes nothing returns nothing", "// body", "endfunction",
                   "", "// one", "  // two", "" }
            << QStringList { "F" };
        QTest::newRow("comment in globals declares nothing")
            << QList<QStringList> { { "globals", "// integer x", "integer x", "endglobals" } }
            << QStringList { "globals", "// integer x", "integer x", "endglobals", "" }
            << QStringList { "x" };
        QTest::newRow("blank lines in globals share the empty name")
            << QList<QStringList> { { "globals", "", "integer a", "", "endglobals" },
                   { "globals", "", "endglobals" } }
            << QStringList { "globals", "", "integer a", "endglobals", "", "" } << QStringList { "", "a" };
        QTest::newRow("unclosed globals swallows the separator")
            << QList<QStringList> { { "globals", "integer a" }, { "integer a", "call X()" } }
            << QStringList { "globals", "integer a", "", "endglobals", "integer a", "call X()", "" }
            << QStringList { "", "a" };
        QTest::newRow("skipping ends with the source")
            << QList<QStringList> { { "function F takes nothing returns nothing", "endfunction" },
                   { "function F takes nothing returns nothing", "call X()" }, { "call Y()" } }
            << QStringList { "function F takes nothing returns nothing", "endfunction", "", "call Y()", "" }
            << QStringList { "F" };
        QTest::newRow("empty source adds one blank line")
            << QList<QStringList> { {}, { "call X()" } } << QStringList { "", "call X()", "" }
            << QStringList();
        QTest::newRow("indented endglobals and globals")
            << QList<QStringList> { { "  globals", "    integer a", "  endglobals", "integer a" } }
            << QStringList { "globals", "    integer a", "endglobals", "integer a", "" }
            << QStringList { "a" };
        QTest::newRow("globals after a function go before it")
            << QList<QStringList> { { "function F", "endfunction" },
                   { "globals", "integer x", "endglobals", "constant function G", "endfunction" } }
            << QStringList { "globals", "integer x", "endglobals", "function F", "endfunction", "",
                   "constant function G", "endfunction", "" }
            << QStringList { "F", "G", "x" };
    }
    void mergeSources()
    {
        QFETCH(QList<QStringList>, sources);
        QFETCH(QStringList, lines);
        QFETCH(QStringList, names);
        const MergeOutput output = MergeSources(sources);
        QCOMPARE(output.lines, lines);
        QCOMPARE(output.declaredNames, names);
    }

    void namesSortCaseSensitivelyByLocale()
    {
        const MergeOutput output = MergeSources({ { "native B takes nothing returns nothing" },
            { "native a takes nothing returns nothing" }, { "native C takes nothing returns nothing" } });
        QCOMPARE(output.declaredNames, (QStringList { "a", "B", "C" }));
    }

    void movingASourceUpPutsItsLinesFirst()
    {
        const QStringList a { "function A takes nothing returns nothing", "endfunction" };
        const QStringList b { "function B takes nothing returns nothing", "endfunction" };
        QCOMPARE(MergeSources({ a, b }).lines.first(), a.first());
        QCOMPARE(MergeSources({ b, a }).lines.first(), b.first());
    }

    void golden_data()
    {
        QTest::addColumn<QString>("folder");
        const QDir data(QStringLiteral(TOLVANE_TEST_DATA_DIR));
        for (const QString &name : data.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            QTest::newRow(qPrintable(name)) << data.filePath(name);
    }
    void golden()
    {
        QFETCH(QString, folder);
        const QDir dir(folder);
        QStringList sources;
        for (const QString &name : dir.entryList({ QStringLiteral("?.j") }, QDir::Files, QDir::Name))
            sources.append(dir.filePath(name));
        QVERIFY(sources.size() >= 2);
        const QString target = Path(QFileInfo(folder).fileName() + QStringLiteral(".j"));
        const MergeResult result = MergeFiles(sources, target);
        QVERIFY2(result.Succeeded(), qPrintable(result.error));

        const QByteArray bytes = ReadAll(target);
        const QByteArray names = (result.declaredNames.join(u'\n') + u'\n').toUtf8();
        const QString expected = dir.filePath(QStringLiteral("expected.j"));
        const QString expectedNames = dir.filePath(QStringLiteral("expected-names.txt"));
        const bool same = bytes == ReadAll(expected);
        const bool sameNames = names == ReadAll(expectedNames);
        if (!same)
            WriteAll(expected + QStringLiteral(".new"), bytes);
        if (!sameNames)
            WriteAll(expectedNames + QStringLiteral(".new"), names);
        QVERIFY2(same, "target differs from expected.j; see expected.j.new");
        QVERIFY2(sameNames, "names differ from expected-names.txt; see expected-names.txt.new");
    }

    void writesCrLfAfterEveryLineAndReportsTargetName()
    {
        WriteAll(Path("a.j"), "call A()");
        WriteAll(Path("b.j"), "call B()\n\n");
        const MergeResult result = MergeFiles({ Path("a.j"), Path("b.j") }, Path("out.j"));
        QVERIFY(result.Succeeded());
        QCOMPARE(ReadAll(Path("out.j")), QByteArray("call A()\r\n\r\ncall B()\r\n\r\n\r\n"));
        QCOMPARE(result.messageLines, (QStringList { "Done merging files!", "Output: out.j" }));
    }

    void keepsEveryByteOfCodePage1252()
    {
        const QByteArray high("call F(\"\x80\x81\x9d\xe9\xff\")");
        WriteAll(Path("hi.j"), high);
        QVERIFY(MergeFiles({ Path("hi.j") }, Path("hi-out.j")).Succeeded());
        QCOMPARE(ReadAll(Path("hi-out.j")), high + "\r\n\r\n");
    }

    void byteOrderMarksOfSourcesLeaveOneAtTheStart()
    {
        WriteAll(Path("m1.j"), "\xEF\xBB\xBFglobals\r\ninteger x\r\nendglobals\r\n");
        WriteAll(Path("m2.j"), "\xEF\xBB\xBFreal y\r\n");
        QVERIFY(MergeFiles({ Path("m1.j"), Path("m2.j") }, Path("m-out.j")).Succeeded());
        QCOMPARE(ReadAll(Path("m-out.j")),
            QByteArray("\xEF\xBB\xBFglobals\r\ninteger x\r\nendglobals\r\n\r\nreal y\r\n\r\n"));
    }

    void targetMayBeASource()
    {
        WriteAll(Path("t1.j"), "native A takes nothing returns nothing\n");
        WriteAll(
            Path("t2.j"), "native A takes nothing returns nothing\nnative B takes nothing returns nothing\n");
        const MergeResult result = MergeFiles({ Path("t1.j"), Path("t2.j") }, Path("t2.j"));
        QVERIFY(result.Succeeded());
        QCOMPARE(ReadAll(Path("t2.j")),
            QByteArray("native A takes nothing returns nothing\r\n\r\n"
                       "native B takes nothing returns nothing\r\n\r\n"));
        QCOMPARE(ReadAll(Path("t1.j")), QByteArray("native A takes nothing returns nothing\n"));
    }

    // Nothing is written when a source is unreadable or the target cannot be
    // created; an old target stays as it was.
    void failureWritesNothing_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("named");
        QTest::newRow("missing source") << QStringList { "ok.j", "missing.j" } << "old.j"
                                        << "missing.j";
        QTest::newRow("source is a folder") << QStringList { "ok.j", "folder" } << "old.j"
                                            << "folder";
        QTest::newRow("target is a folder") << QStringList { "ok.j", "ok.j" } << "folder"
                                            << "folder";
        QTest::newRow("target folder missing") << QStringList { "ok.j", "ok.j" } << "nowhere/out.j"
                                               << "nowhere";
    }
    void failureWritesNothing()
    {
        QFETCH(QStringList, sources);
        QFETCH(QString, target);
        QFETCH(QString, named);
        QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("folder")));
        WriteAll(Path("ok.j"), "call X()\n");
        WriteAll(Path("old.j"), "old contents\n");
        const QStringList before = QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        for (QString &source : sources)
            source = Path(source);
        const MergeResult result = MergeFiles(sources, Path(target));
        QVERIFY(!result.Succeeded());
        QVERIFY2(result.error.contains(named), qPrintable(result.error));
        QVERIFY(result.messageLines.isEmpty());
        QVERIFY(result.declaredNames.isEmpty());
        QCOMPARE(ReadAll(Path("old.j")), QByteArray("old contents\n"));
        QCOMPARE(QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }

    void fileNameDropsTheFolder_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("slash") << "/maps/out.j"
                               << "out.j";
        QTest::newRow("backslash") << "C:\\maps\\out.j"
                                   << "out.j";
        QTest::newRow("bare") << "out.j"
                              << "out.j";
    }
    void fileNameDropsTheFolder()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(MergeFileName(path), name);
    }
};

TOLVANE_TEST(MergeTest);
#include "MergeTest.moc"
