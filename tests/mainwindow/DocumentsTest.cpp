#include "FaultInjection.h"
#include "TestFiles.h"
#include "TestRegistry.h"

#include "mainwindow/Documents.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


namespace {

QStringList Paths(int from, int to)
{
    QStringList list;
    for (int i = from; i <= to; ++i)
        list.append(QStringLiteral("C:\\maps\\map%1.j").arg(i));
    return list;
}

} // namespace

class DocumentsTest : public QObject
{
    Q_OBJECT

private slots:
    void fileNamePart_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("part");
        QTest::newRow("C:\\maps\\war.j") << "C:\\maps\\war.j" << "war.j";
        QTest::newRow("/home/u/maps/war.j") << "/home/u/maps/war.j" << "war.j";
        QTest::newRow("war.j") << "war.j" << "war.j";
        QTest::newRow("C:\\maps\\ (trailing)") << "C:\\maps\\" << "";
        QTest::newRow("a/b\\c: last of either") << "a/b\\c" << "c";
        QTest::newRow("a\\b/c: last of either") << "a\\b/c" << "c";
        QTest::newRow("empty") << "" << "";
    }
    void fileNamePart()
    {
        QFETCH(QString, path);
        QFETCH(QString, part);
        QCOMPARE(Documents::FileNamePart(path), part);
    }

    void captionForms()
    {
        QCOMPARE(Documents::UntitledCaption(), QStringLiteral("Tolvane"));
        QCOMPARE(Documents::OpenedCaption("/x/war.j"), QStringLiteral("Tolvane [war.j]"));
        QCOMPARE(Documents::SavedUntitledCaption("/x/war.j"), QStringLiteral("Tolvane  [war.j]"));
        QCOMPARE(Documents::NotFoundMessage("C:\\maps\\war.j"), QStringLiteral("C:\\maps\\war.j not found"));
    }

    void updateRecentList_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("after");
        QTest::newRow("empty list") << QStringList() << "a.j" << QStringList{"a.j"};
        QTest::newRow("same file twice") << QStringList{"a.j"} << "a.j" << QStringList{"a.j"};
        QTest::newRow("second file moves to top")
            << QStringList{"b.j", "a.j"} << "a.j" << QStringList{"a.j", "b.j"};
        QTest::newRow("case-different paths are different entries")
            << QStringList{"C:\\War.j"} << "C:\\war.j" << QStringList{"C:\\war.j", "C:\\War.j"};
        QTest::newRow("eleventh file drops the oldest") << Paths(1, 10) << "new.j"
                                                       << (QStringList{"new.j"} + Paths(1, 9));
        QTest::newRow("15 hand-written lines written back as 10")
            << Paths(1, 15) << "new.j" << (QStringList{"new.j"} + Paths(1, 9));
        QTest::newRow("15 lines, path among the first 10")
            << Paths(1, 15) << Paths(5, 5).first()
            << (Paths(5, 5) + Paths(1, 4) + Paths(6, 10));
        QTest::newRow("only the first equal entry is removed")
            << QStringList{"x.j", "a.j", "x.j"} << "x.j" << QStringList{"x.j", "a.j", "x.j"};
    }
    void updateRecentList()
    {
        QFETCH(QStringList, before);
        QFETCH(QString, path);
        QFETCH(QStringList, after);
        QCOMPARE(Documents::UpdateRecentList(before, path), after);
    }

    void reopenEntriesShowTheFirstTen()
    {
        QCOMPARE(Documents::ReopenEntries(Paths(1, 15)), Paths(1, 10));
        QCOMPARE(Documents::ReopenEntries(Paths(1, 3)), Paths(1, 3));
    }

    void addRecentFileWritesCrLfAndCreatesItsFolder()
    {
        QTemporaryDir dir;
        const QString recent = dir.filePath("sub/folder/Recent.txt");
        Documents::AddRecentFile(recent, "/m/a.j");
        Documents::AddRecentFile(recent, "/m/b.j");
        Documents::AddRecentFile(recent, "/m/a.j");
        QCOMPARE(ReadAll(recent), QByteArray("/m/a.j\r\n/m/b.j\r\n"));
    }

    void addRecentFileKeepsPathsOutsideTheCodePage()
    {
        QTemporaryDir dir;
        const QString recent = dir.filePath("Recent.txt");
        const QString path = QStringLiteral("/m/\u5730\u56fe.j");
        Documents::AddRecentFile(recent, path);
        Documents::AddRecentFile(recent, "/m/b.j");
        QCOMPARE(Documents::LoadRecentList(recent), (QStringList{"/m/b.j", path}));
    }

    void addRecentFileReportsAListThatCannotBeWritten()
    {
        QTemporaryDir dir;
        const QString recent = dir.filePath("Recent.txt");
        QVERIFY(QDir(dir.path()).mkdir("Recent.txt"));
        QVERIFY_THROWS_EXCEPTION(TolvaneError, Documents::AddRecentFile(recent, "/m/a.j"));
    }

    void recentFileLivesBesideAWritableExecutable()
    {
        QTemporaryDir exe;
        QTemporaryDir data;
        QCOMPARE(Documents::RecentFileLocation(exe.path(), data.path()),
                 QDir(exe.path()).filePath("Recent.txt"));
    }

    void recentFileMovesToTheDataFolderWhenTheExecutablesIsNotWritable()
    {
        QTemporaryDir data;
        // A folder that does not exist cannot be written by anyone, root included.
        QCOMPARE(Documents::RecentFileLocation("/nonexistent/tolvane/bin", data.path()),
                 QDir(data.path()).filePath("Recent.txt"));
        QTemporaryDir exe;
        QVERIFY(QFile::setPermissions(exe.path(), QFile::ReadOwner | QFile::ExeOwner));
        if (QFileInfo(exe.path()).isWritable())
            QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(Documents::RecentFileLocation(exe.path(), data.path()),
                 QDir(data.path()).filePath("Recent.txt"));
    }

    void scratchFileNameNeverNamesAnExistingFile()
    {
        QTemporaryDir dir;
        QCOMPARE(Documents::ScratchFileName(dir.path()), dir.filePath("Temp.rtf"));
        QVERIFY(WriteAll(dir.filePath("Temp.rtf"), "user's file"));
        QCOMPARE(Documents::ScratchFileName(dir.path()), dir.filePath("Temp1.rtf"));
        QVERIFY(WriteAll(dir.filePath("Temp1.rtf"), "another"));
        QCOMPARE(Documents::ScratchFileName(dir.path()), dir.filePath("Temp2.rtf"));
        QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("Temp2.rtf")));
        QCOMPARE(Documents::ScratchFileName(dir.path()), dir.filePath("Temp3.rtf"));
    }

    void saveEncoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("loadedUtf8");
        QTest::addColumn<bool>("savedUtf8");
        QTest::newRow("ascii code page") << "call X()" << false << false;
        QTest::newRow("code page letters stay code page") << "// \u00e9t\u00e9 \u20ac" << false << false;
        QTest::newRow("code page gains CJK") << "// \u5730" << false << true;
        QTest::newRow("utf-8 stays utf-8 when edited to ascii") << "call X()" << true << true;
    }
    void saveEncoding()
    {
        QFETCH(QString, text);
        QFETCH(bool, loadedUtf8);
        QFETCH(bool, savedUtf8);
        using E = TextFile::Encoding;
        QCOMPARE(Documents::SaveEncoding(text, loadedUtf8 ? E::Utf8 : E::Cp1252) == E::Utf8, savedUtf8);
    }

    void saveDocument_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("last line without break") << "a\r\nb" << QByteArray("a\r\nb\r\n");
        QTest::newRow("empty document") << "" << QByteArray();
        QTest::newRow("LF and CR ends") << "a\nb\rc\n" << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("blank last line") << "a\r\n\r\n" << QByteArray("a\r\n\r\n");
    }
    void saveDocument()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("out.j");
        QVERIFY(WriteAll(path, "old content that is longer than the new one\r\n"));
        (void)Documents::SaveDocument(path, text, TextFile::Encoding::Cp1252);
        QCOMPARE(ReadAll(path), bytes);
    }

    void openAndSaveGiveTheSameBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("utf-8 script") << QByteArray("// caf\xc3\xa9 \xe5\x9c\xb0\r\ncall X()\r\n");
        QTest::newRow("code page script") << QByteArray("// caf\xe9 \x80\r\ncall X()\r\n");
        QTest::newRow("code page undefined bytes") << QByteArray("\x81\x8d\x8f\x90\x9d\r\n");
        QTest::newRow("ascii") << QByteArray("function f takes nothing returns nothing\r\n");
    }
    void openAndSaveGiveTheSameBytes()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath("s.j");
        QVERIFY(WriteAll(path, bytes));
        const TextFile::Content content = TextFile::LoadScript(path);
        const auto used = Documents::SaveDocument(path, TextFile::JoinLines(content.lines), content.encoding);
        QCOMPARE(used, content.encoding);
        QCOMPARE(ReadAll(path), bytes);
    }

    void failedSaveLeavesTheOldFileWhole()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("war.j");
        const QByteArray old("the user's work\r\n");
        QVERIFY(WriteAll(path, old));
        {
            FileSizeLimit limit(64);
            QVERIFY_THROWS_EXCEPTION(
                TolvaneError,
                (void)Documents::SaveDocument(path, QString(4096, u'x'), TextFile::Encoding::Cp1252));
        }
        QCOMPARE(ReadAll(path), old);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"war.j"});
    }

    void saveKeepsTheTargetsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("war.j");
        QVERIFY(WriteAll(path, "x\r\n"));
        const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(path, permissions));
        (void)Documents::SaveDocument(path, "y", TextFile::Encoding::Cp1252);
        QCOMPARE(ReadAll(path), QByteArray("y\r\n"));
        const auto userBits = QFile::ReadUser | QFile::WriteUser | QFile::ExeUser;
        QCOMPARE(QFile::permissions(path) & ~userBits, permissions);
    }
};

TOLVANE_TEST(DocumentsTest);
#include "DocumentsTest.moc"
