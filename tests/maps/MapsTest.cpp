#include "TestFiles.h"
#include "TestMaps.h"
#include "TestRegistry.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <StormLib.h>

namespace {

// Every file of a map as StormLib reads it, its own (listfile) and (attributes) included.
QMap<QString, QByteArray> FilesOf(const QString &path)
{
    QMap<QString, QByteArray> files;
    HANDLE archive = nullptr;
    if (!SFileOpenArchive(QFile::encodeName(path).constData(), 0, STREAM_FLAG_READ_ONLY, &archive))
        return files;
    SFILE_FIND_DATA found;
    HANDLE search = SFileFindFirstFile(archive, "*", &found, nullptr);
    for (bool more = search != nullptr; more; more = SFileFindNextFile(search, &found)) {
        HANDLE file = nullptr;
        DWORD read = 0;
        if (SFileOpenFileEx(archive, found.cFileName, 0, &file)) {
            QByteArray bytes(SFileGetFileSize(file, nullptr), '\0');
            SFileReadFile(file, bytes.data(), DWORD(bytes.size()), &read, nullptr);
            SFileCloseFile(file);
            files.insert(found.cFileName, bytes);
        }
    }
    SFileFindClose(search);
    SFileCloseArchive(archive);
    return files;
}

// The contents beside the script; (attributes) holds the script's checksums.
QByteArrayList OthersOf(QMap<QString, QByteArray> files, const QByteArray &script)
{
    files.remove("(attributes)");
    QByteArrayList others = files.values();
    others.removeOne(script);
    std::sort(others.begin(), others.end());
    return others;
}

// Overwrites bytes of the archive's own header, which begins at `archive`.
void Patch(const QString &path, qint64 at, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(at) && file.write(bytes) == bytes.size());
}

} // namespace

class MapsTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // Builds the row's map: "plain" has the map header, a (listfile) and (attributes); the other layouts say
    // how they differ. A damage is written at an offset into the archive's header.
    QString Build(const QString &layout, const QString &damage = {})
    {
        const QString path = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".w3x"));
        Maps::MapLayout shape;
        shape.header = !layout.contains("no header");
        shape.listfile = shape.attributes = !layout.contains("no list");
        shape.signature = layout.contains("signed");
        const QString script = layout.contains("no script") ? ""
            : layout.contains("scripts")                    ? "scripts\\war3map.j"
                                                            : "war3map.j";
        [&] {
            QCOMPARE(MakeTestMap(path, shape, layout.contains("Lua") ? "" : script, layout.contains("Lua")),
                QString());
        }();
        const qint64 archive = shape.header ? Maps::kHeaderSize : 0;
        if (damage == "header size")
            Patch(path, archive + 4, QByteArray("\x2c\0\0\0", 4));
        if (damage == "format version")
            Patch(path, archive + 12, QByteArray("\x03\0", 2));
        if (damage == "forged tables") {
            Patch(path, archive + 4, QByteArray("\x2c\0\0\0", 4));
            Patch(path, archive + 12, QByteArray("\x01\0", 2));
            Patch(path, archive + 32, QByteArray(12, '\xff'));
        }
        if (damage == "cut short")
            QFile(path).resize(archive + 100);
        if (damage == "missing")
            QFile::remove(path);
        return path;
    }

private slots:
    void looksLikeMap_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("map");
        QTest::newRow("signature first") << QByteArray("MPQ\x1a rest", 9) << true;
        QTest::newRow("signature after the map header") << "HM3W" + QByteArray(508, '\0') + "MPQ\x1a" << true;
        QTest::newRow("signature elsewhere") << QByteArray(100, ' ') + "MPQ\x1a" << false;
        QTest::newRow("script") << QByteArray("function main takes nothing returns nothing\n") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void looksLikeMap()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, map);
        QCOMPARE(Maps::LooksLikeMap(head), map);
    }

    // `expected`: the script's name inside the map and why it is read-only, or what the error says.
    void readScript_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << ""
                               << ""
                               << "war3map.j, ";
        QTest::newRow("no header") << "no header"
                                   << ""
                                   << "war3map.j, ";
        QTest::newRow("no list") << "no list"
                                 << ""
                                 << "war3map.j, ";
        QTest::newRow("scripts folder") << "scripts"
                                        << ""
                                        << "scripts\\war3map.j, ";
        QTest::newRow("signed") << "signed"
                                << ""
                                << "war3map.j, it is signed";
        QTest::newRow("malformed header") << ""
                                          << "header size"
                                          << "war3map.j, StormLib opens it only for reading";
        QTest::newRow("forged version") << "no header"
                                        << "format version"
                                        << "war3map.j, StormLib reads it only in its version-1";
        QTest::newRow("Lua") << "Lua"
                             << ""
                             << "holds a Lua script (war3map.lua), not a JASS one.";
        QTest::newRow("no script") << "no script"
                                   << ""
                                   << "holds no script: neither war3map.j nor scripts\\war3map.j.";
        QTest::newRow("forged tables") << "no header"
                                       << "forged tables"
                                       << "\". StormLib stopped on it: the archive is damaged.";
        QTest::newRow("cut short") << ""
                                   << "cut short"
                                   << "\". It is not an archive that StormLib can read.";
        QTest::newRow("missing") << ""
                                 << "missing"
                                 << "\". No such file or directory.";
    }
    void readScript()
    {
        QFETCH(QString, layout);
        QFETCH(QString, damage);
        QFETCH(QString, expected);
        const Maps::ReadResult read = Maps::ReadScript(Build(layout, damage));
        const QString seen
            = read.error.isEmpty() ? read.script.name + ", " + read.script.readOnlyReason : read.error;
        QVERIFY2(
            read.error.isEmpty() ? seen.startsWith(expected) : seen.endsWith(expected), qPrintable(seen));
        QCOMPARE(read.script.bytes, read.error.isEmpty() ? kMapScript : QByteArray());
    }

    // Every file but the script stays as it was, (listfile) and map header included, and the old map is
    // the backup; a map that must not be written stays untouched.
    void writeScript_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QString>("error");
        QTest::newRow("plain") << "" << QByteArray("call Main()\r\n").repeated(4000) << "";
        QTest::newRow("no header") << "no header" << QByteArray("// new\r\n") << "";
        QTest::newRow("no list") << "no list" << QByteArray("// new\r\n") << "";
        QTest::newRow("scripts folder") << "scripts" << QByteArray("// new\r\n") << "";
        QTest::newRow("empty script") << "" << QByteArray() << "";
        QTest::newRow("signed") << "signed" << QByteArray("// new\r\n")
                                << "The map is read-only: it is signed";
        QTest::newRow("Lua") << "Lua" << QByteArray("// new\r\n") << "It holds no JASS script";
    }
    void writeScript()
    {
        QFETCH(QString, layout);
        QFETCH(QByteArray, script);
        QFETCH(QString, error);
        // Relative, and in another current folder than the helper that takes it was started in.
        QVERIFY(QDir::setCurrent(m_dir.path()));
        const QString path = QFileInfo(Build(layout)).fileName();
        QCOMPARE(Maps::ReadScript(path).script.bytes, layout == "Lua" ? QByteArray() : kMapScript);
        const QByteArray before = ReadAll(path);
        const Maps::WriteResult written = Maps::WriteScript(path, script, true);
        QVERIFY2(written.error.contains(error), qPrintable(written.error));
        if (!error.isEmpty()) {
            QCOMPARE(ReadAll(path), before);
            QVERIFY(!QFile::exists(Maps::BackupPath(path)));
            return;
        }
        QCOMPARE(Maps::ReadScript(path).script.bytes, script);
        QCOMPARE(ReadAll(Maps::BackupPath(path)), before);
        QCOMPARE(OthersOf(FilesOf(path), script), OthersOf(FilesOf(Maps::BackupPath(path)), kMapScript));
        if (!layout.contains("no header"))
            QCOMPARE(ReadAll(path).left(Maps::kHeaderSize), before.left(Maps::kHeaderSize));
        QCOMPARE(QDir(m_dir.path()).entryList({ ".*" }, QDir::Hidden | QDir::Files), QStringList());
    }
};

TOLVANE_TEST(MapsTest);

#include "MapsTest.moc"
