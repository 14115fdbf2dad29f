#include "TestMaps.h"
#include "TestRegistry.h"

#include "CliRun.h"

#include <QTest>

class MapCommandsTest : public QObject {
    Q_OBJECT

    ScratchCurrentFolder m_dir;

private slots:
    // Commands joined by " && " run in turn on fresh maps; the last one's status and output count.
    // `printed`: the start of standard output, or of standard error for status 2.
    void commands_data()
    {
        QTest::addColumn<QString>("commands");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("printed");
        const auto row = [](const QString &commands, int status, const QByteArray &printed) {
            QTest::newRow(qPrintable(commands)) << commands << status << printed;
        };
        row("extract map.w3x", 0, kMapScript);
        row("extract map.w3x -o out.j && extract -- map.w3x", 0, kMapScript);
        row("lint --no-api map.w3x", 0, "");
        row("inject map.w3x bad.j && extract map.w3x", 0,
            "function main takes nothing returns nothing\r\n    call F()");
        row("inject map.w3x bad.j && extract map.w3x.bak", 0, kMapScript);
        row("inject map.w3x bad.j && lint --no-api map.w3x", 1,
            "map.w3x/war3map.j:2:10: error: 'F' is not declared\n");
        row("inject map.w3x bad.j", 0, "map.w3x: script replaced; the map as it was is ");
        row("extract lua.w3x", 2, "tolvane-cli: The map \"lua.w3x\" holds a Lua script");
        row("lint --no-api lua.w3x", 2, "tolvane-cli: lint: The map \"lua.w3x\" holds a Lua script");
        row("inject signed.w3x bad.j", 2,
            "tolvane-cli: Cannot save the script into map \"signed.w3x\". The map is read-only");
        row("inject map.w3x missing.j", 2, "tolvane-cli: Cannot open file \"missing.j\"");
        row("inject missing.w3x bad.j", 2,
            "tolvane-cli: Cannot save the script into map \"missing.w3x\". No such file");
        for (const char *usage : { "extract", "extract map.w3x -o", "extract -x map.w3x", "inject map.w3x" })
            row(usage, 2, "tolvane-cli: " + QByteArray(usage).left(7).trimmed() + ": ");
    }
    void commands()
    {
        QFETCH(QString, commands);
        QFETCH(int, status);
        QFETCH(QByteArray, printed);
        QVERIFY(m_dir.IsValid());
        Maps::MapLayout signedMap;
        signedMap.signature = true;
        QCOMPARE(MakeTestMap("map.w3x") + MakeTestMap("lua.w3x", {}, "", true)
                + MakeTestMap("signed.w3x", signedMap),
            QString());
        WriteIn(m_dir.Dir(), "bad.j",
            "function main takes nothing returns nothing\r\n    call F()\r\nendfunction\r\n");
        CliRun run;
        for (const QString &command : commands.split(" && "))
            run = RunCliCaptured(command.split(' '));
        QCOMPARE(run.status, status);
        const QByteArray &shown = status == 2 ? run.err : run.out;
        QVERIFY2(shown.startsWith(printed), shown.constData());
        QVERIFY(status != 0 || run.err.isEmpty());
        QVERIFY(!QFile::exists("out.j") || ReadAll("out.j") == kMapScript);
        QFile::remove("map.w3x.bak");
    }
};

TOLVANE_TEST(MapCommandsTest);

#include "MapCommandsTest.moc"
