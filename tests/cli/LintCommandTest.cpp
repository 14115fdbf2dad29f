#include "TestRegistry.h"

#include "CliRun.h"

#include <QTest>

#define JASS_DATA TOLVANE_SOURCE_DIR "/../shared/jass-data/"

class LintCommandTest : public QObject {
    Q_OBJECT

    ScratchCurrentFolder m_dir;
    QString Write(const QString &name, const QByteArray &bytes) { return WriteIn(m_dir.Dir(), name, bytes); }

private slots:
    // Two language folders: "new" declares F for map scripts and G for AI
    // scripts; "old" knows neither and has no AI API.
    void initTestCase()
    {
        QVERIFY(m_dir.IsValid() && QDir().mkpath("new") && QDir().mkpath("old"));
        for (const char *name : { "new/Func.txt", "old/Func.txt", "old/Api.txt" })
            Write(name, "tolvane-api 1\ntype integer\n");
        Write("new/Api.txt", "tolvane-api 1\ntype integer\nnative F integer\n");
        Write("new/AIApi.txt", "tolvane-api 1\ntype integer\nnative G integer\n");
        Write("f.j", "function M takes nothing returns nothing\n    call F()\nendfunction\n");
        Write("g.ai", "function M takes nothing returns nothing\r\n    call G()\r\nendfunction\r\n");
        Write("decl.j", "native F takes nothing returns integer\n");
    }

    // Standard output in full, or for status 2 how standard error starts.
    void commandLine_data()
    {
        QTest::addColumn<QByteArray>("folder"); // of the [Functions] file of JassConfig.txt
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("printed");
        const auto row = [](const char *folder, const char *args, int status, const QByteArray &printed) {
            QTest::addRow("%s: lint %s", folder, args)
                << QByteArray(folder) << QString(args).split(' ', Qt::SkipEmptyParts) << status << printed;
        };
        const QByteArray undeclared = "f.j:2:10: error: 'F' is not declared\n";
        row("new", "f.j", 0, "");
        row("old", "f.j", 1, undeclared);
        row("new", "g.ai", 0, "");
        row("old", "g.ai", 2, "tolvane-cli: lint: No API to check on: old/AIApi.txt is missing");
        row("none", "--api decl.j f.j", 0, "");
        row("new", "--no-api f.j", 1, undeclared);
        row("none", "--no-api missing.j f.j", 2, "tolvane-cli: lint: Cannot open file \"missing.j\"");
        for (const char *usage : { "", "--api", "--no-api --ai f.j", "--frob f.j" })
            row("new", usage, 2, "tolvane-cli: lint: ");
    }
    void commandLine()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QByteArray, printed);
        Write("JassConfig.txt", "[Functions]\r\n" + folder + "/Func.txt\r\n");
        const CliRun run = RunCliCaptured(QStringList { "lint" } + args);
        QCOMPARE(run.status, status);
        QVERIFY2(status == 2 ? run.out.isEmpty() && run.err.startsWith(printed)
                             : run.out == printed && run.err.isEmpty(),
            run.out + run.err);
    }

    // Every script the game loads gives no error on the shipped API (*.ai on
    // AIApi.txt); one realistic mistake put into a real script gives that error.
    void realFiles_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("from"); // the mistake: `from` replaced by `to` in the last file
        QTest::addColumn<QByteArray>("to");
        QTest::addColumn<QByteArray>("errors");
        if (!QFile::exists(JASS_DATA))
            QSKIP("no real scripts: ../shared/jass-data beside the repository is missing");
        for (const char *folder : { "scripts/maps", "scripts/libs", "scripts/ai" }) {
            for (const QFileInfo &file : QDir(JASS_DATA + QLatin1String(folder)).entryInfoList(QDir::Files)) {
                if (!file.fileName().endsWith(".vj.j") && file.fileName() != "Knockback2DSystem.j")
                    QTest::newRow(qPrintable(file.fileName()))
                        << QStringList { file.filePath() } << QByteArray() << QByteArray() << QByteArray();
            }
        }
        const auto mistake = [](const char *what, const char *from, const char *to, const char *error) {
            QTest::newRow(what) << QStringList { JASS_DATA "scripts/libs/cheats.j" } << QByteArray(from)
                                << QByteArray(to) << "war3map.j:" + QByteArray(error) + '\n';
        };
        mistake("wrong argument count", "GetUnitY(u), GetUnitFacing(u))", "GetUnitY(u))",
            "271:10: error: CreateUnit takes 5 arguments (player id, integer unitid, real x, real y, "
            "real face), but is given 4");
        mistake("undeclared name", "call SetUnitPosition(u,", "call SetUnitPosition(v,",
            "115:26: error: 'v' is not declared");
        mistake("wrong type", "gold = GetRandomInt", "gold = GetRandomReal",
            "94:26: error: 'GetRandomReal' returns real; 'gold' is an integer");
        mistake("missing endif", "defaultValue\r\n    endif\r\n", "defaultValue\r\n",
            "229:1: error: missing 'endif' for the 'if' on line 223");
        mistake("wrong return type", "        return a\r\n", "        return expr\r\n",
            "129:16: error: 'TertiaryStringOp' returns string; 'expr' is a boolean");
        mistake("local declared twice", "GetRandomInt(200, 450)",
            "GetRandomInt(200, 450)\r\n    local integer gold",
            "96:19: error: 'gold' is already declared on line 94");
    }
    void realFiles()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        QFETCH(QByteArray, errors);
        if (!from.isEmpty()) {
            QByteArray text = ReadAll(args.last());
            const qsizetype at = text.indexOf(from);
            QVERIFY2(at >= 0 && text.indexOf(from, at + 1) < 0, from);
            Write("war3map.j", text.replace(at, from.size(), to));
            args.last() = "war3map.j";
        }
        Write("JassConfig.txt", "[Functions]\r\n" TOLVANE_SOURCE_DIR "/data/Func.txt\r\n");
        const CliRun run = RunCliCaptured(QStringList { "lint" } + args);
        QByteArray found;
        for (const QByteArray &line : run.out.split('\n'))
            found += line.contains(": error: ") ? line + '\n' : QByteArray();
        QCOMPARE(found, errors);
        QVERIFY2(run.status == (errors.isEmpty() ? 0 : 1) && run.err.isEmpty(), run.err);
    }
};

TOLVANE_TEST(LintCommandTest);
#include "LintCommandTest.moc"
