#include "TestRegistry.h"

#include "editor/WordClasses.h"
#include "import/LanguageFiles.h"
#include "langdata/WordHelpers.h"
#include "platform/Errors.h"
#include "platform/TextFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

LanguageFiles ImportText(const QString &text, SourceKind kind)
{
    return BuildLanguageFiles(
        { ParsedSource { kind, ParseDeclarations(text.split(u'\n'), QStringLiteral("t.j")) } });
}

// The name the catalogue takes from an AI global line: the word after the
// type, after a leading "constant", skipping "array".
QString AIGlobalNameOf(const QString &line)
{
    const int k = FirstWord(line) == QLatin1String("constant") ? 3 : 2;
    const QString w = WordAt(line, k);
    return w == QLatin1String("array") ? WordAt(line, k + 1) : w;
}

QString GameFile(const QString &version, const QString &name)
{
    return QStringLiteral(TOLVANE_TEST_DATA_DIR "/%1/%2").arg(version, name);
}

// The lines of a file of inputs the fuzzer found, joined by '\n'.
QString FoundInput(const QString &name)
{
    return TextFile::LoadLines(QStringLiteral(TOLVANE_TEST_DATA_DIR "/") + name).join(u'\n');
}

QList<ImportSource> GameSources(const QString &version)
{
    const QString blizzard = version == QLatin1String("1.26") ? "Blizzard.j" : "blizzard.j";
    return {
        { GameFile(version, "common.j"), SourceKind::Game },
        { GameFile(version, blizzard), SourceKind::Game },
        { GameFile(version, "common.ai"), SourceKind::AI },
    };
}

// The shipped set of a version: the newest at the top of data/.
QString ShippedFolder(const QString &version)
{
    const QString data = QStringLiteral(TOLVANE_SOURCE_DIR "/data");
    return version == QLatin1String("2.0.4") ? data : data + u'/' + version;
}

const QStringList kFileNames
    = { "Func.txt", "Const.txt", "Syn.txt", "AIFunc.txt", "AIConst.txt", "Api.txt", "AIApi.txt" };

} // namespace

class ImportTest : public QObject {
    Q_OBJECT

private slots:
    void declarationForms_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("functions");
        QTest::addColumn<QStringList>("constants");
        QTest::addColumn<QStringList>("aiGlobals");

        const QStringList none;
        QTest::newRow("native Foo takes nothing returns nothing")
            << "native Foo takes nothing returns nothing"
            << QStringList { "Foo takes nothing returns nothing" } << none << none;
        QTest::newRow("constant native ConvertRace")
            << "constant native ConvertRace takes integer i returns race"
            << QStringList { "ConvertRace takes integer i returns race" } << none << none;
        QTest::newRow("function with a body")
            << "function F takes integer a,real b returns boolean\n"
               "    local integer x = 0 // native G takes nothing returns nothing\n"
               "    return true\n"
               "endfunction"
            << QStringList { "F takes integer a, real b returns boolean" } << none << none;
        QTest::newRow("constant function")
            << "constant function K takes nothing returns integer\n    return 1\nendfunction"
            << QStringList { "K takes nothing returns integer" } << none << none;
        QTest::newRow("tabs, runs of spaces, comment after")
            << "native\tFoo   takes  integer  i ,  unit u   returns\tunit   // note"
            << QStringList { "Foo takes integer i, unit u returns unit" } << none << none;
        QTest::newRow("native over three lines with a comment and a blank line")
            << "native Foo takes integer a, // first\n\n        integer b\n        returns nothing"
            << QStringList { "Foo takes integer a, integer b returns nothing" } << none << none;
        QTest::newRow("natives and functions keep file order")
            << "native B takes nothing returns nothing\n"
               "function A takes nothing returns nothing\nendfunction\n"
               "constant native C takes nothing returns nothing"
            << QStringList { "B takes nothing returns nothing", "A takes nothing returns nothing",
                   "C takes nothing returns nothing" }
            << none << none;
        QTest::newRow("globals of every form")
            << "globals\n"
               "    // a comment line\n"
               "\n"
               "    integer a\n"
               "    integer b = 5\n"
               "    constant real PI = 3.14 // pi\n"
               "    unit array U\n"
               "    constant integer array CA\n"
               "    string s = \"a // b\"  // the literal keeps its slashes\n"
               "    integer x=5\n"
               "    integer c = 'A0 0'\n"
               "endglobals"
            << none
            << QStringList { "integer a", "integer b = 5", "real PI = 3.14", "unit U array",
                   "integer CA array", "string s = \"a // b\"", "integer x = 5", "integer c = 'A0 0'" }
            << QStringList { "integer a", "integer b = 5", "constant real PI = 3.14", "unit array U",
                   "constant integer array CA", "string s = \"a // b\"", "integer x = 5",
                   "integer c = 'A0 0'" };
        QTest::newRow("global values over several lines")
            << "globals\n"
               "    constant integer X =\n"
               "        5\n"
               "    integer Y = Foo(1,\n"
               "        2)\n"
               "    integer Z\n"
               "        = 3\n"
               "endglobals"
            << none << QStringList { "integer X = 5", "integer Y = Foo(1, 2)", "integer Z = 3" }
            << QStringList { "constant integer X = 5", "integer Y = Foo(1, 2)", "integer Z = 3" };
        // The second line starts inside the string the first left open, so its
        // "//" stands outside the literal and starts a comment.
        QTest::newRow("string left open over a line")
            << "globals\n"
               "    string s = \"a\" b\"\n"
               "c\" d // e \"f\"\n"
               "endglobals"
            << none << QStringList { "string s = \"a\" b\" c\" d" }
            << QStringList { "string s = \"a\" b\" c\" d" };
        QTest::newRow("types only") << "type agent extends handle // all\ntype unit extends widget" << none
                                    << none << none;
    }
    void declarationForms()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, functions);
        QFETCH(QStringList, constants);
        QFETCH(QStringList, aiGlobals);

        const LanguageFiles game = ImportText(input, SourceKind::Game);
        QCOMPARE(game.functions, functions);
        QCOMPARE(game.constants, constants);
        QVERIFY(game.aiFunctions.isEmpty() && game.aiConstants.isEmpty());

        const LanguageFiles ai = ImportText(input, SourceKind::AI);
        QCOMPARE(ai.aiFunctions, functions);
        QCOMPARE(ai.aiConstants, aiGlobals);
        QVERIFY(ai.functions.isEmpty() && ai.constants.isEmpty());
    }

    void lineEndingsDoNotMatter()
    {
        const QString text = "globals\n  integer a = 1\nendglobals\nnative F takes nothing returns real\n";
        QString crlf = text;
        crlf.replace(u'\n', QLatin1String("\r\n"));
        QString cr = text;
        cr.replace(u'\n', u'\r');
        const auto parse = [](const QString &t) {
            return BuildLanguageFiles(
                { { SourceKind::Game, ParseDeclarations(TextFile::SplitLines(t), "t.j") } });
        };
        const LanguageFiles lf = parse(text);
        for (const QString &other : { crlf, cr }) {
            const LanguageFiles o = parse(other);
            QCOMPARE(o.functions, lf.functions);
            QCOMPARE(o.constants, lf.constants);
        }
    }

    void notJassIsRejected_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("message");
        QTest::newRow("# Title") << "# Title\nSome words"
                                 << "t.j, line 1: not a JASS declaration: # Title";
        QTest::newRow("library Foo") << "native F takes nothing returns nothing\n\nlibrary Foo\nendlibrary"
                                     << "t.j, line 3: not a JASS declaration: library Foo";
        QTest::newRow("empty file") << ""
                                    << "t.j holds no JASS declarations.";
        QTest::newRow("comments only") << "// one\n\n   // two"
                                       << "t.j holds no JASS declarations.";
        QTest::newRow("binary") << QString::fromLatin1("native F takes nothing returns nothing\nab\0cd", 44)
                                << "t.j is not a text file.";
        QTest::newRow("NUL in a value continued on the next line")
            << FoundInput("nul-in-continued-value.j") << "t.j is not a text file.";
        QTest::newRow("globals without endglobals")
            << "globals\n  integer a\nnative F takes nothing returns nothing"
            << "t.j, line 1: the globals block has no \"endglobals\"";
        QTest::newRow("globals open at the end") << "globals\n  integer a"
                                                 << "t.j, line 1: the globals block has no \"endglobals\"";
        QTest::newRow("constant native inside globals")
            << "globals\nconstant native F takes nothing returns nothing\nendglobals"
            << "t.j, line 1: the globals block has no \"endglobals\"";
        QTest::newRow("function without endfunction") << "function F takes nothing returns nothing\n  call "
                                                         "G()\nfunction H takes nothing returns nothing"
                                                      << "t.j, line 1: function F has no \"endfunction\"";
        QTest::newRow("function open at the end") << "function F takes nothing returns nothing\n  call G()"
                                                  << "t.j, line 1: function F has no \"endfunction\"";
        QTest::newRow("native without returns")
            << "native F takes nothing\nnative G takes nothing returns nothing"
            << "t.j, line 1: the declaration does not end with \"returns TYPE\"";
        QTest::newRow("native takes a type without a name")
            << "native F takes integer returns nothing"
            << "t.j, line 1: not a JASS declaration: native F takes integer returns nothing";
        QTest::newRow("global without a name") << "globals\n  integer\nendglobals"
                                               << "t.j, line 2: the declaration has no complete value";
        QTest::newRow("global with three words") << "globals\n  integer a b\nendglobals"
                                                 << "t.j, line 2: not a JASS declaration: integer a b";
        QTest::newRow("value left open") << "globals\n  integer a = F(1,\nendglobals"
                                         << "t.j, line 2: the declaration has no complete value";
        QTest::newRow("type with a bad name")
            << "type 9lives extends handle"
            << "t.j, line 1: not a JASS declaration: type 9lives extends handle";
    }
    void notJassIsRejected()
    {
        QFETCH(QString, input);
        QFETCH(QString, message);
        try {
            (void)ParseDeclarations(input.split(u'\n'), QStringLiteral("t.j"));
            QFAIL("no error raised");
        } catch (const TolvaneError &e) {
            QCOMPARE(e.message(), message);
        }
    }

    void syntaxFileListsEveryTypeOnce()
    {
        const QStringList lines = SyntaxLines({ "agent", "Integer", "unit", "agent" });
        for (const char *word : { "function", "endfunction", "debug", "extends", "true", "null", "handle",
                 "code", "agent", "unit" })
            QCOMPARE(lines.count(QString::fromLatin1(word)), 1);
        QVERIFY(!lines.contains("Integer")); // the base type "integer" is already there
        QVERIFY(lines.indexOf("code") < lines.indexOf("agent"));
        QVERIFY(lines.indexOf("agent") < lines.indexOf("unit"));
        for (const QString &line : lines) {
            if (line.startsWith(u'!'))
                QVERIFY2(line == "!bold" || line == "!italic" || line == "!underline", qPrintable(line));
            if (line.startsWith(u'@'))
                QVERIFY2(QRegularExpression("^@cl[A-Z][a-z]+$").match(line).hasMatch(), qPrintable(line));
        }
    }

    void gameFiles_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<int>("functions");
        QTest::addColumn<int>("constants");
        QTest::addColumn<int>("aiFunctions");
        QTest::addColumn<int>("aiGlobals");
        // Natives of common.j plus the functions of blizzard.j: 1544 + 985,
        // 1548 + 985, 1160 + 923.
        QTest::newRow("2.0.4") << "2.0.4" << 2529 << 2184 << 243 << 472;
        QTest::newRow("1.36") << "1.36" << 2533 << 2183 << 243 << 472;
        QTest::newRow("1.26") << "1.26" << 2083 << 897 << 243 << 468;
    }
    void gameFiles()
    {
        QFETCH(QString, version);
        const LanguageFiles files = ImportDeclarationFiles(GameSources(version));
        QTEST(int(files.functions.size()), "functions");
        QTEST(int(files.constants.size()), "constants");
        QTEST(int(files.aiFunctions.size()), "aiFunctions");
        QTEST(int(files.aiConstants.size()), "aiGlobals");

        QCOMPARE(files.functions.first(), "ConvertRace takes integer i returns race");
        QVERIFY(files.functions.contains("CreateUnit takes player id, integer unitid, real x, real y, "
                                         "real face returns unit"));
        QVERIFY(files.functions.contains("BJDebugMsg takes string msg returns nothing"));
        QVERIFY(files.constants.contains("real bj_PI = 3.14159"));
        QVERIFY(files.constants.contains("real bj_RADTODEG = 180.0/bj_PI"));
        QVERIFY(files.constants.contains("unit bj_ghoul array"));
        QVERIFY(files.constants.contains("string bj_lastPlayedMusic = \"\""));
        QVERIFY(files.constants.contains("playerunitevent EVENT_PLAYER_UNIT_ISSUED_UNIT_ORDER = "
                                         "ConvertPlayerUnitEvent(40)"));
        QVERIFY(files.aiFunctions.contains("GetAiPlayer takes nothing returns integer"));
        QVERIFY(files.aiConstants.contains("constant integer ARCHMAGE = 'Hamg'"));
        QVERIFY(files.aiConstants.contains("integer array skill"));
        for (const char *type : { "agent", "unit", "trigger", "race" })
            QVERIFY2(files.syntax.contains(type), type);

        // The catalogue's rules find the name and the type of every line.
        for (const QString &line : files.functions + files.aiFunctions) {
            QVERIFY2(QRegularExpression("^\\w+$").match(FirstWord(line)).hasMatch(), qPrintable(line));
            QVERIFY2(QRegularExpression("^\\w+$").match(LastWord(line)).hasMatch(), qPrintable(line));
        }
        for (const QString &line : files.constants) {
            QVERIFY2(QRegularExpression("^\\w+$").match(SecondWord(line)).hasMatch(), qPrintable(line));
            QVERIFY2(GlobalType(line) == FirstWord(line), qPrintable(line));
            QVERIFY2(SecondWord(line) != "array", qPrintable(line));
        }
        for (const QString &line : files.aiConstants) {
            const QString name = AIGlobalNameOf(line);
            QVERIFY2(
                QRegularExpression("^\\w+$").match(name).hasMatch() && name != "array", qPrintable(line));
        }
    }

    // Until the catalogue exists, this applies its naming rule for function
    // files (the first word of a line) to the shipped Func.txt.
    void shippedFunctionsNameEveryNative_data()
    {
        QTest::addColumn<QString>("version");
        QTest::newRow("2.0.4") << "2.0.4";
        QTest::newRow("1.36") << "1.36";
        QTest::newRow("1.26") << "1.26";
    }
    void shippedFunctionsNameEveryNative()
    {
        QFETCH(QString, version);
        QSet<QString> names;
        for (const QString &line : TextFile::LoadLines(ShippedFolder(version) + "/Func.txt"))
            names.insert(FirstWord(line));

        const QRegularExpression native("^\\s*(?:constant\\s+)?native\\s+(\\w+)");
        int natives = 0;
        for (const QString &line : TextFile::LoadLines(GameFile(version, "common.j"))) {
            const QRegularExpressionMatch m = native.match(line);
            if (!m.hasMatch())
                continue;
            ++natives;
            QVERIFY2(names.contains(m.captured(1)), qPrintable(m.captured(1)));
        }
        QVERIFY(natives > 1000);
    }

    // The editor's loader reads every class of the shipped syntax files:
    // keywords bold black, literals bold purple, types teal.
    void shippedSyntaxFilesLoad_data() { shippedFunctionsNameEveryNative_data(); }
    void shippedSyntaxFilesLoad()
    {
        QFETCH(QString, version);
        const WordPairs pairs
            = CollectWordClasses(TextFile::LoadLines(ShippedFolder(version) + "/Syn.txt"), nullptr);
        const auto classOf = [&](const QString &word) -> const TSyntaxType * {
            for (const WordClassPair &pair : pairs) {
                if (pair.Word == word)
                    return pair.WordClass.get();
            }
            return nullptr;
        };
        const struct {
            const char *word;
            uint32_t color;
            uint8_t style;
        } expected[] = {
            { "function", 0x000000, 1 },
            { "debug", 0x000000, 1 },
            { "null", 0x800080, 1 },
            { "integer", 0x808000, 0 },
            { "handle", 0x808000, 0 },
            { "unit", 0x808000, 0 },
        };
        for (const auto &e : expected) {
            const TSyntaxType *type = classOf(e.word);
            QVERIFY2(type, e.word);
            QCOMPARE(type->Color, e.color);
            QCOMPARE(type->Style, e.style);
        }
    }

    // On a difference, regenerate data/ as the README shows.
    void shippedFilesEqualFreshImport_data() { shippedFunctionsNameEveryNative_data(); }
    void shippedFilesEqualFreshImport()
    {
        QFETCH(QString, version);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        WriteLanguageFiles(dir.path(), ImportDeclarationFiles(GameSources(version)));
        for (const QString &name : kFileNames) {
            const QString shipped = ShippedFolder(version) + u'/' + name;
            QVERIFY2(TextFile::ReadBytes(dir.filePath(name)) == TextFile::ReadBytes(shipped),
                qPrintable(shipped + " differs from a fresh import"));
        }
    }
};

TOLVANE_TEST(ImportTest);
#include "ImportTest.moc"
