#include "TestRegistry.h"

#include "CliRun.h"

#include <QTest>

#define JASS_DATA TOLVANE_SOURCE_DIR "/../shared/jass-data/"
static const char kShipped[] = TOLVANE_SOURCE_DIR "/data";

class LintCommandTest : public QObject {
    Q_OBJECT

    ScratchCurrentFolder m_dir;
    QString Write(const QString &name, const QByteArray &bytes) { return WriteIn(m_dir.Dir(), name, bytes); }

private slots:
    // Language folders: "new" declares F for map scripts and G for AI scripts; "old" neither, without
    // AIApi.txt.
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

    // `printed`: the error lines of standard output, or for status 2 how standard error starts. Every real
    // script the game loads passes on the shipped API; a realistic mistake put into one gives that error.
    void lint_data()
    {
        QTest::addColumn<QByteArray>("folder"); // of the [Functions] file of JassConfig.txt
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArrayList>("edit");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("printed");
        const auto row = [](const char *folder, const QString &args, int status, const QByteArray &printed,
                             const QByteArrayList &edit = {}) {
            QTest::addRow("%s: lint %s %s", folder + qMax(0, int(qstrlen(folder)) - 4),
                qPrintable(args.section('/', -1)), edit.value(1).constData())
                << QByteArray(folder) << args.split(' ', Qt::SkipEmptyParts) << edit << status << printed;
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

        for (const char *folder : { "scripts/maps", "scripts/libs", "scripts/ai" }) {
            for (const QFileInfo &file : QDir(JASS_DATA + QLatin1String(folder)).entryInfoList(QDir::Files)) {
                if (!file.fileName().endsWith(".vj.j") && file.fileName() != "Knockback2DSystem.j")
                    row(kShipped, file.filePath(), 0, "");
            }
        }
        const QString cheats = JASS_DATA "scripts/libs/cheats.j";
        row(kShipped, cheats, 1,
            "war3map.j:271:10: error: CreateUnit takes 5 arguments (player id, integer unitid, real x, real "
            "y, real face), but is given 4\n",
            { "GetUnitY(u), GetUnitFacing(u))", "GetUnitY(u))" });
        row(kShipped, cheats, 1, "war3map.j:115:26: error: 'v' is not declared\n",
            { "call SetUnitPosition(u,", "call SetUnitPosition(v," });
        row(kShipped, cheats, 1,
            "war3map.j:94:26: error: 'GetRandomReal' returns real; 'gold' is an integer\n",
            { "gold = GetRandomInt", "gold = GetRandomReal" });
        row(kShipped, cheats, 1, "war3map.j:229:1: error: missing 'endif' for the 'if' on line 223\n",
            { "defaultValue\r\n    endif\r\n", "defaultValue\r\n" });
    }
    void lint()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QStringList, args);
        QFETCH(QByteArrayList, edit);
        QFETCH(int, status);
        QFETCH(QByteArray, printed);
        if (!edit.isEmpty()) {
            if (!QFile::exists(JASS_DATA))
                QSKIP("no real scripts: ../shared/jass-data beside the repository is missing");
            QByteArray text = ReadAll(args.last());
            QCOMPARE(text.count(edit[0]), 1);
            Write("war3map.j", text.replace(edit[0], edit[1]));
            args.last() = "war3map.j";
        }
        Write("JassConfig.txt", "[Functions]\r\n" + folder + "/Func.txt\r\n");
        const CliRun run = RunCliCaptured(QStringList { "lint" } + args);
        QByteArray errors;
        for (const QByteArray &line : run.out.split('\n'))
            errors += line.contains(": error: ") ? line + '\n' : QByteArray();
        QCOMPARE(run.status, status);
        QVERIFY2(status == 2 ? run.out.isEmpty() && run.err.startsWith(printed)
                             : errors == printed && run.err.isEmpty(),
            run.out.left(2000) + run.err);
    }
};

TOLVANE_TEST(LintCommandTest);
#include "LintCommandTest.moc"
