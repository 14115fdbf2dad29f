#include "TestFiles.h"
#include "TestRegistry.h"

#include "analysis/Analysis.h"

#include <QDir>
#include <QTest>
#include <QThread>

using namespace Analysis;

namespace {

// A few declarations in the game's shape, so rows can call and convert.
const char Prelude[]
    = "type agent extends handle\n"
      "type widget extends agent\n"
      "type unit extends widget\n"
      "type player extends agent\n"
      "native GetUnitX takes unit whichUnit returns real\n"
      "native CreateUnit takes player id, integer unitid, real x, real y, real face returns unit\n"
      "native CreateRegion takes nothing returns agent\n"
      "constant native Player takes integer number returns player\n";

// "line:column: message" of the script's diagnostics, warnings marked.
QStringList Check(const QByteArray &script)
{
    const Result r = Analyse(
        { { QStringLiteral("prelude"), Prelude }, { QStringLiteral("s.j"), script } }, PrimitiveApi());
    QStringList out;
    for (const Diagnostic &d : r.diagnostics) {
        out.append(
            QStringLiteral("%1%2:%3: %4")
                .arg(d.source == 0 ? QStringLiteral("prelude ") : QString())
                .arg(d.line)
                .arg(d.column)
                .arg(d.severity == Severity::Warning ? QStringLiteral("warning: ") + d.message : d.message));
    }
    return out;
}

QByteArray GameFile(const QString &patch, const QString &name)
{
    return ReadAll(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/import/data/%1/%2").arg(patch, name));
}

QByteArray Body(const QByteArray &lines)
{
    return "function F takes integer n, real r, unit u returns nothing\n" + lines + "endfunction\n";
}

} // namespace

class AnalysisTest : public QObject {
    Q_OBJECT

private slots:
    void rules_data()
    {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *name, const QByteArray &script, const QStringList &expected) {
            QTest::newRow(name) << script << expected;
        };
        // Syntax, literals, blocks
        row("literals of every kind",
            Body("local integer i = 010 + 0x1F + $ff + 'A' + 'hfoo' + 7\n"
                 "local real x = 1. + .5 + 2.25\nlocal string s = \"a\\\"b\\\\\"\n"
                 "local boolean b = true or false and not (i >= 2)\n"),
            {});
        row("precedence",
            Body("if not n == 1 and n + 2 * 3 > 4 or -n < 0 == true then\nendif\nset n = 1 + 2 * r\n"),
            { "4:9: the value is a real; 'n' is an integer" });
        row("or below and", Body("if true or n and true then\nendif\n"),
            { "2:12: 'and' needs booleans, but is given an integer and a boolean" });
        row("and below equality", Body("if n == 1 and n != 2 then\nendif\n"), {});
        row("equality below comparison",
            "function B takes nothing returns boolean\nreturn 5 > 4 == 5 < 7\nendfunction\n", {});
        row("comparison below sums", Body("if n + 1 < n - 1 then\nendif\n"), {});
        row("sums below products", Body("set n = n + \"b\" * 2\n"),
            { "2:13: '*' needs numbers, but is given a string and an integer" });
        row("products below signs", Body("set n = -\"a\" * 2\n"),
            { "2:9: '-' needs a number, but is given a string" });
        row("bad octal, rawcode, character", Body("local integer i = 08\nset i = 'abc'\nset i = i # 2\n"),
            { "2:19: a number that begins with 0 is octal and may hold only the digits 0 to 7",
                "3:9: a rawcode holds 1 or 4 characters, but this one holds 3",
                "4:11: '#' is not part of the language" });
        row("byte order mark inside a line, invisible characters by their code",
            "globals\ninteger\xEF\xBB\xBFx=13\nendglobals\n" + Body("set n = x\xC2\xA0+ 1\nset n = \xFF\n"),
            { "5:10: U+00A0 is not part of the language", "6:9: the byte FF is not part of the language" });
        row("a comment runs over a lone CR",
            "function F takes nothing returns nothing\n// x\rreturn 1\nendfunction\n", {});
        row("a block opened in a comment", Body("// x\rif (n > 0) then\nendif\nset n = 1.5\n"),
            { "4:1: 'endif' without 'if'", "5:9: the value is a real; 'n' is an integer" });
        const QString unknownX
            = R"('\x' is not an escape sequence; the game knows \b, \t, \n, \f, \r, \", \' and \\)";
        const QString notAlone = "an escape sequence must be the only character of its rawcode";
        row("escapes in rawcodes",
            Body(R"(set n = '\\' + '\'' + '\\abc' + 'a\\bc' + '\\\\ab')"
                 "\nset n = '\\x' + 'a\\xbc'\n"),
            { "2:23: " + notAlone, "2:33: " + notAlone, "2:43: " + notAlone, "3:10: " + unknownX,
                "3:18: " + unknownX });
        row("escapes in strings",
            Body("local string s = \"\\a\\\\\\\"\\b\\t\\n\\f\\r\\'\"\nset s = \"x\\\ny\"\n"),
            { "2:19: '\\a" + unknownX.mid(3),
                "3:11: a '\\' before the end of the line is no escape sequence" });
        row("NUL and FF in literals and comments",
            Body("local string s = \"a@\\@\xFF\"\nset n = 'ab@c'\n// c@ \xFF\n").replace('@', '\0'),
            { "2:20: NUL is not allowed in a string", "2:22: NUL is not allowed in a string",
                "2:23: the byte FF is not allowed in a string", "3:12: NUL is not allowed in a rawcode",
                "4:5: NUL is not allowed in a comment", "4:7: the byte FF is not allowed in a comment" });
        row("long string", Body("call Player(StringLength(\"" + QByteArray(1024, 'x') + "\"))\n"),
            { "2:13: 'StringLength' is not declared",
                "2:26: a string literal may hold at most 1023 bytes, but this one holds 1024" });
        row("open string stays on its line", Body("local string s = \"abc\nset n = 1.5\n"),
            { "2:18: the string is not closed with '\"'", "3:9: the value is a real; 'n' is an integer" });
        row("endif without if", Body("endif\n"), { "2:1: 'endif' without 'if'" });
        row("missing endloop", Body("loop\nexitwhen true\n"),
            { "4:1: missing 'endloop' for the 'loop' on line 2" });
        row("misspelt closers", Body("if true then\nloop\nexitwhen true\nendlop\nendiff // done\n"),
            { "5:1: 'endlop' is not a statement; taken as 'endloop'",
                "6:1: 'endiff' is not a statement; taken as 'endif'" });
        row("endloop closing an if", Body("if true then\nendloop\n"),
            { "3:1: expected 'endif' for the 'if' on line 2, found 'endloop'" });
        // Deep nesting is an error of its line, not a crash of the thread checking it.
        const QByteArray deep = QByteArray("if true then\n").repeated(100000) + "loop\nendloop\n"
            + QByteArray("endif\n").repeated(100000);
        row("100000 nested blocks", Body(deep), { "258:1: blocks nested deeper than 256" });
        row("100000 nested expressions",
            Body("set n = " + QByteArray("(-Player(not ").repeated(25000) + "0"
                + QByteArray(")").repeated(50000) + "\n"),
            { "2:557: no more than 256 levels of nesting" });
        row("missing endfunction",
            "function A takes nothing returns nothing\nfunction B takes nothing returns "
            "nothing\nendfunction\n",
            { "2:1: missing 'endfunction' for the function 'A' on line 1" });
        row("body closed early", Body("endfunction\ncall F(1, 2, null)\nset n = 2\n"),
            { "3:1: 'call' outside a function" });
        row("statement syntax", Body("set n 1\ncall GetUnitX u\nif n > 1\nendif\n"),
            { "2:7: expected '=', found '1'", "3:15: expected '(', found 'u'",
                "4:9: expected 'then', found the end of the line" });
        row("broken header",
            "function A takes integer returns integer\nreturn 1.5\nendfunction\n"
            "function B takes nothing returns nothing\ncall A()\nendfunction\n",
            { "1:26: expected a parameter name, found 'returns'" });
        row("local after a statement", Body("set n = 1\nlocal integer k = 2\n"),
            { "3:1: 'local' declarations must come before the first statement of the function" });
        row("exitwhen outside a loop", Body("exitwhen true\n"), { "2:1: 'exitwhen' outside a 'loop'" });
        row("debug statements", Body("debug set n = 1\ndebug call GetUnitX(u)\ndebug return\n"),
            { "4:7: expected 'set', 'call', 'if' or 'loop' after 'debug', found 'return'" });
        row("declaration after functions", Body("") + "globals\nendglobals\n",
            { "3:1: 'globals' must come before the first function of the file" });
        // Names
        row("undeclared names", Body("set k = 1\ncall G()\nset n = m + 1\nset k = m\n"),
            { "2:5: 'k' is not declared", "3:6: 'G' is not declared", "4:9: 'm' is not declared" });
        row("called before declared",
            "function A takes nothing returns nothing\ncall B()\nendfunction\n"
            "function B takes nothing returns nothing\ncall A()\ncall B()\nendfunction\n",
            { "2:6: 'B' is declared only further down on line 4; a function can use only those above it" });
        row("redeclarations",
            "globals\ninteger g\nreal g\nendglobals\nnative GetUnitX takes nothing returns nothing\n"
            "function A takes integer a, integer a returns nothing\nlocal real a\nlocal real b\nlocal real "
            "b\nendfunction\n",
            { "3:6: 'g' is already declared on line 2",
                "5:8: 'GetUnitX' is already declared in prelude on line 5",
                "7:12: 'a' is already declared as a parameter", "9:12: 'b' is already declared on line 8" });
        row("a local hides a type", Body("local unit unit\nlocal unit v\nlocal integer array n\n"),
            { "3:7: the type 'unit' is hidden by the local of that name on line 2",
                "4:21: 'n' is already declared as a parameter" });
        row("unknown types",
            "type item extends widgit\nglobals\nunti array us\nconstnt integer k = 1\nendglobals\n"
            "function A takes strin s returns boolan\nendfunction\n",
            { "1:19: 'widgit' is not a type", "3:1: 'unti' is not a type",
                "4:1: expected a type, found 'constnt'", "6:18: 'strin' is not a type",
                "6:34: 'boolan' is not a type" });
        row("a type extends a handle", "type id extends integer\n",
            { "1:17: 'id' may extend only handle or a type that extends it, not 'integer'" });
        row("names the game reserves",
            "globals\ninteger alias\nendglobals\n" + Body("local integer integer\nlocal integer k = k\n"),
            { "2:9: expected a variable name, found 'alias'",
                "5:15: 'integer' is a primitive type and cannot name a variable",
                "6:19: 'k' is read before it is given a value, which stops the script" });
        row("names in the wrong role", Body("set GetUnitX = 1\ncall n()\nset n = unit\n"),
            { "2:5: 'GetUnitX' is a function, not a variable", "3:6: 'n' is not a function",
                "4:9: 'unit' is a type, not a variable" });
        // Types
        row("conversions",
            Body("local agent a = u\nlocal unit v = a\nset r = n\nset n = r\nset n = GetUnitX(u)\n"),
            { "3:16: 'a' is an agent; 'v' is a unit", "5:9: 'r' is a real; 'n' is an integer",
                "6:9: 'GetUnitX' returns real; 'n' is an integer" });
        row("null where the game takes it",
            Body("local integer i = null\nlocal real x = null\nlocal code c = null\n"
                 "local string s = null\nlocal boolean b = null\nset u = null\n"),
            { "6:19: the value is null; 'b' is a boolean" });
        row("null returned",
            "function A takes nothing returns integer\nreturn null\nendfunction\n"
            "function C takes nothing returns code\nreturn null\nendfunction\n"
            "function U takes nothing returns unit\nreturn null\nendfunction\n"
            "function S takes nothing returns string\nreturn null\nendfunction\n",
            { "2:8: 'A' returns integer; the value is null", "5:8: 'C' returns code; the value is null",
                "11:8: 'S' returns string; the value is null" });
        row("conditions", Body("if n then\nelseif u then\nendif\nloop\nexitwhen r\nendloop\n"),
            { "2:4: a condition must be a boolean; 'n' is an integer",
                "3:8: a condition must be a boolean; 'u' is a unit",
                "6:10: a condition must be a boolean; 'r' is a real" });
        row("operators",
            Body("set n = n + \"a\"\nset r = -u\nset n = 5 % r\nset n = 1 / 0\nif u < u or n and true "
                 "then\nendif\n"
                 "if u == n or not n then\nendif\n"),
            { "2:9: '+' needs two numbers or two strings, but is given an integer and a string",
                "3:9: '-' needs a number, but is given a unit",
                "4:9: '%' needs integers, but is given an integer and a real",
                "4:11: warning: old patches do not know the '%' operator",
                "5:13: division by zero stops the script",
                "6:4: '<' needs numbers, but is given a unit and a unit",
                "6:13: 'and' needs booleans, but is given an integer and a boolean",
                "8:4: '==' cannot compare a unit with an integer",
                "8:14: 'not' needs a boolean, but is given an integer" });
        row("arrays and indexes",
            "globals\ninteger array a\ninteger b\nendglobals\n"
                + Body("set a = 1\nset b[1] = 2\nset a[r] = b\nset n = a\nset n = b[0]\n"),
            { "6:5: 'a' is an array and needs an index", "7:5: 'b' is not an array",
                "8:7: an array index must be an integer; 'r' is a real",
                "9:9: 'a' is an array and needs an index", "10:9: 'b' is not an array" });
        row("arguments",
            Body("call CreateUnit(Player(0), 'hfoo', 0, 0)\ncall CreateUnit(u, 'hfoo', 0, 0, 0)\n"
                 "call GetUnitX(u, u)\nset n = CreateUnit(Player(0), 1, 2, 3, 4)\n"),
            { "2:6: CreateUnit takes 5 arguments (player id, integer unitid, real x, real y, real face), but "
              "is given 4",
                "3:17: argument 1 of 'CreateUnit' is player id; 'u' is a unit",
                "4:6: GetUnitX takes 1 argument (unit whichUnit), but is given 2",
                "5:9: 'CreateUnit' returns unit; 'n' is an integer" });
        row("values of calls", Body("set n = F(1, 2, u)\n"),
            { "2:9: 'F' returns nothing, so it has no value" });
        row("returns",
            "function A takes nothing returns integer\nreturn\nendfunction\n"
            "function B takes nothing returns nothing\nreturn 1\nendfunction\n"
            "function C takes integer n returns real\nif n > 0 then\nreturn n\nelseif n < 0 then\nreturn "
            "1.\nendif\nendfunction\n"
            "function D takes integer n returns real\nif n > 0 then\nreturn 1.\nelse\nreturn "
            "2\nendif\nendfunction\n"
            "function E takes nothing returns boolean\nloop\nendloop\nendfunction\n",
            { "2:1: 'A' returns integer, so 'return' needs a value",
                "5:8: 'B' returns nothing, so 'return' may not have a value",

                "13:1: 'C' returns real, but its end can be reached without 'return'",
                "18:8: 'D' returns real; the value is an integer" });
        row("code references",
            "function A takes integer n returns nothing\nendfunction\nfunction B takes nothing returns "
            "nothing\n"
            "local code c = function B\nset c = function A\nset c = function GetUnitX\nset c = function "
            "Z\nendfunction\n",
            { "5:18: 'function' needs a function that takes nothing, but 'A' takes 1 argument",
                "6:18: 'function' needs a function, but 'GetUnitX' is a native",
                "7:18: 'Z' is not declared" });
        row("constants",
            "globals\nconstant integer K = 1\nconstant real L\nconstant integer array M\ninteger array N = "
            "2\n"
            "code array C\nendglobals\n"
                + Body("set K = 2\n"),
            { "3:15: the constant 'L' needs a value", "4:24: an array cannot be constant",
                "5:17: an array cannot have an initial value", "6:1: an array of code is not allowed",
                "9:5: 'K' is a constant and cannot be set" });
        row("constant functions",
            "globals\ninteger g = 0\nendglobals\nfunction A takes nothing returns integer\nreturn "
            "1\nendfunction\n"
            "constant function B takes nothing returns integer\nset g = 2\ncall Player(0)\ncall A()\nreturn "
            "1\nendfunction\n",
            { "8:5: a constant function cannot set the global 'g'",
                "10:6: a constant function can call only constant functions, and 'A' is not one" });
        row("uninitialised reads",
            "globals\ninteger a\ninteger b = a + 1\ninteger array c\ninteger d = c[1]\nendglobals\n"
                + Body("local integer i\nlocal integer j\nlocal integer array k\nset n = k[1] + i + i\nset j "
                       "= 1\nset n = j\n"),
            { "3:13: 'a' is read before it is given a value, which stops the script",
                "11:16: 'i' is read before it is given a value, which stops the script" });
        row("names too long for old patches",
            "globals\ninteger " + QByteArray(3959, 'n') + "\ninteger " + QByteArray(3958, 'm')
                + "\nendglobals\n",
            { "2:9: warning: this name has 3959 characters; old patches accept at most 3958" });
        row("natives that crash in globals",
            "globals\nagent a = CreateRegion()\nplayer p = Player(0)\nagent agent\nendglobals\n",
            { "2:11: calling 'CreateRegion' in a globals block crashes the game",
                "4:7: 'agent' is already declared in prelude on line 1" });
        row("independent mistakes, one message each",
            Body("set k = 1\ncall GetUnitX()\nset n = 1.5\nif n then\nendif\nset r = \"s\"\nloop\nexitwhen "
                 "1\nendloop\n"
                 "call Z(1)\nendloop\nset n = GetUnitX(u, 1)\nset u = n\nreturn 1\n"),
            { "2:5: 'k' is not declared", "3:6: GetUnitX takes 1 argument (unit whichUnit), but is given 0",
                "4:9: the value is a real; 'n' is an integer",
                "5:4: a condition must be a boolean; 'n' is an integer",
                "7:9: the value is a string; 'r' is a real",
                "9:10: a condition must be a boolean; the value is an integer", "11:6: 'Z' is not declared",
                "12:1: 'endloop' without 'loop'",
                "13:9: GetUnitX takes 1 argument (unit whichUnit), but is given 2",
                "14:9: 'n' is an integer; 'u' is a unit",
                "15:8: 'F' returns nothing, so 'return' may not have a value" });
    }
    // On a thread with a quarter of the stack Linux gives the editor's workers.
    void rules()
    {
        QFETCH(QByteArray, script);
        QFETCH(QStringList, expected);
        QStringList found;
        const std::unique_ptr<QThread> worker(QThread::create([&] { found = Check(script); }));
        worker->setStackSize(2 * 1024 * 1024);
        worker->start();
        worker->wait();
        QCOMPARE(found, expected);
    }

    // Line ends and a byte order mark change nothing, not even a column.
    void lineEnds()
    {
        const QByteArray lf = Body("set k = 1\nset n = \"a\nb\" + 1\ncall GetUnitX(\n)\n");
        const QStringList expected = Check(lf);
        QCOMPARE(expected.size(), 4);
        QByteArray crlf = lf, cr = lf;
        crlf.replace("\n", "\r\n");
        cr.replace("\n", "\r");
        QCOMPARE(Check(crlf), expected);
        QCOMPARE(Check(cr), expected);
        QCOMPARE(Check("\xEF\xBB\xBF" + lf), expected);
    }

    // The game's own files of each shipped patch load without an error.
    void gameFiles_data()
    {
        QTest::addColumn<QString>("patch");
        QTest::addColumn<QString>("second");
        for (const char *patch : { "1.26", "1.36", "2.0.4" }) {
            const QString blizzard
                = QString::fromLatin1(patch) == QLatin1String("1.26") ? "Blizzard.j" : "blizzard.j";
            QTest::addRow("%s common.j %s", patch, qPrintable(blizzard)) << patch << blizzard;
            QTest::addRow("%s common.j common.ai", patch) << patch << "common.ai";
        }
    }
    void gameFiles()
    {
        QFETCH(QString, patch);
        QFETCH(QString, second);
        const QList<Source> sources { { "common.j", GameFile(patch, "common.j") },
            { second, GameFile(patch, second) } };
        QVERIFY(!sources[1].text.isEmpty());
        const Result r = Analyse(sources, PrimitiveApi());
        for (const Diagnostic &d : r.diagnostics)
            QVERIFY2(d.severity != Severity::Error,
                qPrintable(
                    QStringLiteral("%1:%2: %3").arg(sources[d.source].name).arg(d.line).arg(d.message)));
        // What the files declare is the API the check runs on: reading it back checks the same.
        Api api = PrimitiveApi();
        Append(api, r.declared);
        const std::optional<Api> read = ReadApi(WriteApi(api), nullptr);
        QVERIFY(read.has_value());
        QCOMPARE(WriteApi(*read), WriteApi(api));
        QCOMPARE(Analyse({ { "s.j",
                             "function A takes nothing returns nothing\ncall DoNothing(1)\nendfunction\n" } },
                     *read)
                     .diagnostics.size(),
            1);
    }

    // One realistic mistake put into the game's own library gives exactly its
    // message, at its line (the anchor's line plus an offset).
    void realMistakes_data()
    {
        QTest::addColumn<QByteArray>("anchor");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<int>("offset");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *anchor, const char *replacement, int offset,
                             const char *expected) {
            QTest::newRow(name) << QByteArray(anchor) << QByteArray(replacement) << offset
                                << QString::fromLatin1(expected);
        };
        row("argument count", "DisplayTimedTextToPlayer(Player(i),0,0,60,msg)",
            "DisplayTimedTextToPlayer(Player(i),0,0,msg)", 0,
            "14: DisplayTimedTextToPlayer takes 5 arguments (player toPlayer, real x, real y, real duration, "
            "string "
            "message), but is given 4");
        row("undeclared name", "set i = i + 1", "set i = j + 1", 0, "17: 'j' is not declared");
        row("wrong type", "local real x = GetLocationX(source)", "local integer x = GetLocationX(source)", 0,
            "23: the value is a real; 'x' is an integer");
        row("wrong return", "return RectContainsCoords(r, GetUnitX(whichUnit), GetUnitY(whichUnit))",
            "return GetUnitX(whichUnit)", 0,
            "12: 'RectContainsUnit' returns boolean; 'GetUnitX' returns real");
        row("condition", "exitwhen i == bj_MAX_PLAYERS", "exitwhen i", 0,
            "18: a condition must be a boolean; 'i' is an integer");
        row("uninitialised local", "local integer i = 0\r\n    loop", "local integer i\r\n    loop", 2,
            "46: 'i' is read before it is given a value, which stops the script");
        row("missing endloop", "bj_MAX_PLAYERS\r\n    endloop\r\n", "bj_MAX_PLAYERS\r\n", 1,
            "1: missing 'endloop' for the 'loop' on line 680");
        row("missing endif", "return b\r\n    endif\r\n", "return b\r\n", 1,
            "1: missing 'endif' for the 'if' on line 697");
    }
    void realMistakes()
    {
        QFETCH(QByteArray, anchor);
        QFETCH(QByteArray, replacement);
        QFETCH(int, offset);
        QFETCH(QString, expected);
        QByteArray text = GameFile("2.0.4", "blizzard.j");
        const qsizetype at = text.indexOf(anchor);
        QVERIFY(at >= 0);
        const int line = int(text.left(at).count('\n')) + 1 + offset;
        text.replace(at, anchor.size(), replacement);
        const Result r = Analyse({ { "common.j", GameFile("2.0.4", "common.j") }, { "blizzard.j", text } },
            PrimitiveApi(), Options { false });
        QStringList found;
        for (const Diagnostic &d : r.diagnostics)
            found.append(QStringLiteral("%1:%2: %3").arg(d.line).arg(d.column).arg(d.message));
        QCOMPARE(found, QStringList { QString::number(line) + QLatin1Char(':') + expected });
    }

    void apiFileErrors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        QTest::newRow("no header") << QByteArray("type unit\n")
                                   << "line 1: not an API file (it must begin with \"tolvane-api 1\")";
        QTest::newRow("bad word") << QByteArray("tolvane-api 1\nglobal integer x-y\n")
                                  << "line 2: 'x-y' is not a name";
        QTest::newRow("odd parameters")
            << QByteArray("tolvane-api 1\nnative F nothing integer\n")
            << "line 2: a function line is 'native [constant] NAME RETURNS [TYPE NAME]...'";
        QTest::newRow("unknown line")
            << QByteArray("tolvane-api 1\nstruct S\n") << "line 2: unknown declaration 'struct'";
    }
    void apiFileErrors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QString message;
        QVERIFY(!ReadApi(bytes, &message).has_value());
        QCOMPARE(message, error);
    }

    // Every input the fuzzer kept: its files (split at NUL bytes) analysed
    // alone and on top of what they declared, and that API read back.
    void fuzzFindings_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(TOLVANE_SOURCE_DIR "/fuzz/crashes/analysis"));
        for (const QString &name : dir.entryList(QDir::Files))
            QTest::newRow(qPrintable(name)) << dir.filePath(name);
        QVERIFY2(!dir.isEmpty(), qPrintable(dir.path()));
    }
    void fuzzFindings()
    {
        QFETCH(QString, file);
        QList<Source> sources;
        for (const QByteArray &text : ReadAll(file).split('\0'))
            sources.append({ QStringLiteral("f%1.j").arg(sources.size()), text });
        Api api = PrimitiveApi();
        Append(api, Analyse(sources, api).declared);
        const QByteArray &last = sources.last().text;
        const Result again = Analyse({ { "after.j", last } }, api);
        for (const Diagnostic &d : again.diagnostics)
            QVERIFY(d.source == 0 && d.line >= 1 && d.line <= last.count('\n') + last.count('\r') + 1);
        QString error;
        QVERIFY2(ReadApi(WriteApi(api), &error).has_value(), qPrintable(error));
    }

    // What completion will need: each body with its lines, parameters and locals.
    void scopes()
    {
        const Result r = Analyse(
            { { "s.j", "\nfunction A takes integer n returns nothing\nlocal real x\nendfunction\n" } },
            PrimitiveApi());
        QCOMPARE(r.scopes.size(), 1);
        const Scope &s = r.scopes.first();
        QCOMPARE(s.function, QStringLiteral("A"));
        QCOMPARE(s.firstLine, 2);
        QCOMPARE(s.lastLine, 4);
        QCOMPARE(s.parameters.first().name, QStringLiteral("n"));
        QCOMPARE(s.locals.first().type, QStringLiteral("real"));
        QCOMPARE(s.locals.first().at.line, 3);
        QCOMPARE(r.declared.functions.first().at.line, 2);
        // Positions belong to that analysis: on top of it, a redeclaration names the API, not a line here.
        Api api = PrimitiveApi();
        Append(api, r.declared);
        const Result again
            = Analyse({ { "t.j", "function A takes nothing returns nothing\nendfunction\n" } }, api);
        QCOMPARE(again.diagnostics.first().message, QStringLiteral("'A' is already declared in the API"));
    }
};

TOLVANE_TEST(AnalysisTest);

#include "AnalysisTest.moc"
