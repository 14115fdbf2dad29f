#include "TestFiles.h"
#include "TestRegistry.h"

#include "analysis/Analysis.h"
#include "analysis/Project.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace Analysis;

namespace {

// A few declarations in the game's shape, loaded before the program.
const char Prelude[] = "type agent extends handle\n"
                       "type widget extends agent\n"
                       "type unit extends widget\n"
                       "type player extends agent\n"
                       "native GetUnitX takes unit whichUnit returns real\n"
                       "native Player takes integer number returns player\n"
                       "native GetPlayerId takes player p returns integer\n"
                       "native I2S takes integer i returns string\n"
                       "native KillUnit takes unit whichUnit returns nothing\n";

QStringList Lines(const Result &r)
{
    QStringList out;
    for (const Diagnostic &d : r.diagnostics) {
        if (d.source == 0)
            continue;
        out.append(
            QStringLiteral("%1%2:%3: %4")
                .arg(d.source > 1 ? QStringLiteral("f%1 ").arg(d.source) : QString())
                .arg(d.line)
                .arg(d.column)
                .arg(d.severity == Severity::Warning ? QStringLiteral("warning: ") + d.message : d.message));
    }
    return out;
}

// The diagnostics of the scripts ("line:column: message"; "fN " before one
// of the Nth script), read after the prelude.
QStringList Check(const QList<QByteArray> &scripts, Dialect dialect = Dialect::Detect)
{
    QList<Source> sources { { QStringLiteral("prelude"), Prelude } };
    for (const QByteArray &s : scripts)
        sources.append({ QStringLiteral("s%1.j").arg(sources.size()), s });
    Options options;
    options.dialect = dialect;
    options.preludeSources = 1;
    return Lines(Analyse(sources, PrimitiveApi(), options));
}

QByteArray GameFile(const QString &name)
{
    return ReadAll(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/import/data/2.0.4/%1").arg(name));
}

QByteArray Library(const QString &name)
{
    return ReadAll(QStringLiteral(TOLVANE_SOURCE_DIR "/tests/analysis/data/vjass/%1").arg(name));
}

} // namespace

class VjassTest : public QObject {
    Q_OBJECT

private slots:
    // Each construct, written right and with the mistakes JassHelper or the game rejects.
    void rules_data()
    {
        QTest::addColumn<QList<QByteArray>>("scripts");
        QTest::addColumn<QStringList>("expected");
        const auto row = [](const char *name, const QList<QByteArray> &scripts, const QStringList &expected) {
            QTest::newRow(name) << scripts << expected;
        };
        // Libraries and scopes
        row("libraries ordered by their requirements, in any file order",
            { "library B requires A\nfunction FB takes nothing returns integer\nreturn "
              "FA()\nendfunction\nendlibrary\n",
                "library A\nfunction FA takes nothing returns integer\nreturn 1\nendfunction\nendlibrary\n"
                "function Late takes nothing returns nothing\ncall FB()\nendfunction\n" },
            {});
        row("missing and optional requirements",
            { "library L requires Gone, optional Maybe\nfunction F takes nothing returns nothing\ncall "
              "X()\nendfunction\n"
              "endlibrary\nlibrary M\nfunction G takes nothing returns nothing\ncall "
              "X()\nendfunction\nendlibrary\n" },
            { "1:20: the library 'L' requires 'Gone', which no file declares", "8:6: 'X' is not declared" });
        row("what the game loads: a long string, a division by zero, null for a string",
            { "library L\nfunction F takes nothing returns string\nlocal integer i = 1/0\nreturn null\nendfunction\n"
              "globals\nstring s = \"" + QByteArray(1100, 'x') + "\"\nendglobals\nendlibrary\n" },
            { "3:21: warning: division by zero stops the script",
                "7:12: warning: a string literal may hold at most 1023 bytes, but this one holds 1100" });
        row("libraries that require each other",
            { "library A requires B\nendlibrary\nlibrary B requires A\nendlibrary\n" },
            { "3:20: the libraries 'B' and 'A' require each other" });
        row("library_once and a library declared twice",
            { "library_once O\nendlibrary\nlibrary_once O\nendlibrary\nlibrary P\nendlibrary\nlibrary "
              "P\nendlibrary\n" },
            { "7:9: 'P' is already declared on line 5" });
        row("private and public names",
            { "library L\nglobals\nprivate integer n = 1\npublic integer m = 2\nendglobals\n"
              "private function F takes nothing returns integer\nreturn n + m + L_m\nendfunction\n"
              "public function G takes nothing returns integer\nreturn F()\nendfunction\nendlibrary\n"
              "scope S\nprivate function F takes nothing returns integer\nreturn L_G() + L_m + "
              "G()\nendfunction\n"
              "endscope\nfunction H takes nothing returns integer\nreturn n + F()\nendfunction\n" },
            { "15:22: 'G' is not declared", "19:8: 'n' is not declared", "19:12: 'F' is not declared" });
        row("nested scopes",
            { "scope Outer\nscope Inner\npublic function F takes nothing returns "
              "nothing\nendfunction\nendscope\n"
              "function G takes nothing returns nothing\ncall Inner_F()\ncall Outer_Inner_F()\nendfunction\n"
              "endscope\nfunction H takes nothing returns nothing\ncall Outer_Inner_F()\ncall Inner_F()\n"
              "endfunction\n" },
            { "13:6: 'Inner_F' is not declared" });
        row("a public function in a nested scope without a name",
            { "library L\nscope\npublic function F takes nothing returns nothing\nendfunction\nendscope\n"
              "endlibrary\n" },
            { "2:6: expected a scope name, found the end of the line" });
        row("initializers",
            { "library L initializer Init\nprivate function Init takes integer n returns "
              "nothing\nendfunction\n"
              "endlibrary\nscope S initializer Start\nendscope\nlibrary M initializer Gone\nendlibrary\n" },
            { "1:23: the initializer 'Init' must take nothing, but takes 1 argument",
                "5:21: 'Start' is not declared",
                "7:23: warning: the initializer 'Gone' is not declared: the library is called by this name "
                "at start, "
                "which stops that thread" });
        row("keyword lets a private name be used before it is declared",
            { "scope S\nprivate keyword B\nprivate function A takes integer i returns integer\n"
              "return B.evaluate(i)\nendfunction\nprivate function B takes integer i returns integer\n"
              "return A(i)\nendfunction\nendscope\n" },
            {});
        row("declarations in any order, natives anywhere",
            { "library L\nendlibrary\nfunction F takes nothing returns integer\nreturn "
              "K\nendfunction\nglobals\nconstant integer K = 3\n"
              "endglobals\nnative GetUnitX takes unit whichUnit returns real\nnative Own takes nothing "
              "returns nothing\n" },
            {});
        // Structs
        row("struct members, methods and this",
            { "struct P\nreal x = 0.\nreal y\nstatic integer count = 0\n"
              "static method create takes real x, real y returns thistype\nlocal thistype this = "
              "thistype.allocate()\n"
              "set this.x = x\nset .y = y\nset count = count + 1\nreturn this\nendmethod\n"
              "method sum takes nothing returns real\nreturn x + .y + this.x\nendmethod\nendstruct\n"
              "function F takes nothing returns real\nlocal P p = P.create(1, 2)\nset p.x = p.sum()\n"
              "call p.destroy()\nreturn p.y + P.count\nendfunction\n" },
            {});
        row("member mistakes",
            { "struct P\nreal x\nprivate integer secret\nreadonly integer id\nstatic integer count\n"
              "method m takes nothing returns nothing\nset id = 1\nendmethod\nendstruct\n"
              "function F takes P p returns nothing\nset p.z = 1\nset p.secret = 1\nset p.id = 2\nset p.x = "
              "\"a\"\n"
              "call p.m(1)\ncall P.m()\nset P.x = 1.\ncall P.allocate()\nendfunction\n" },
            { "11:7: 'P' has no member 'z'", "12:7: 'secret' is a private member of 'P'",
                "13:7: 'id' is readonly outside its struct", "14:11: the value is a string; 'x' is a real",
                "15:6: m takes no arguments, but is given 1", "16:6: 'm' is not static: it needs an instance",
                "17:7: 'x' is not static: it needs an instance",
                "18:8: 'allocate' is a private member of 'P'" });
        row("struct values are integers underneath",
            { "struct P\nendstruct\nstruct Q\nendstruct\nfunction F takes P p returns integer\nlocal Q q = "
              "p\n"
              "local integer i = p + 1\nset p = 0\nset p = null\nset p = 1.5\nif p == q then\nendif\nreturn "
              "P(i)\n"
              "endfunction\n" },
            { "10:9: the value is a real; 'p' is a P" });
        row("extends, super and stub methods",
            { "struct A\ninteger a\nstub method f takes nothing returns integer\nreturn "
              "1\nendmethod\nendstruct\n"
              "struct B extends A\nmethod f takes nothing returns integer\nreturn super.f() + a\nendmethod\n"
              "endstruct\nfunction F takes B b returns integer\nreturn b.f() + b.a\nendfunction\n"
              "struct C extends Nothing\nendstruct\n" },
            { "15:18: 'Nothing' is not a struct or an interface" });
        row("array structs and index operators",
            { "struct D extends array\ninteger v\nstatic method operator [] takes string s returns thistype\n"
              "return 1\nendmethod\nmethod operator [] takes integer i returns real\nreturn 1.\nendmethod\n"
              "method operator []= takes integer i, real r returns nothing\nendmethod\nendstruct\n"
              "function F takes nothing returns nothing\nlocal D d = D[\"x\"]\nset d[1] = d[2] + 1\n"
              "set d.v = 1\nset d[1] = \"a\"\nset d.v[1] = 2\nendfunction\n" },
            { "16:12: argument 2 of 'operator []=' is real r; the value is a string",
                "17:5: only arrays and structs with a '[]' operator take an index; 'v' is an integer" });
        row("method operators that read and set",
            { "struct X\nprivate integer a\nmethod operator v takes nothing returns integer\nreturn "
              "a\nendmethod\n"
              "method operator v= takes integer n returns nothing\nset a = n\nendmethod\n"
              "method operator w takes nothing returns integer\nreturn a\nendmethod\nendstruct\n"
              "function F takes X x returns nothing\nset x.v = x.v + x.w\nset x.w = 1\nendfunction\n" },
            { "15:7: 'w' has an operator that reads it but none that sets it" });
        row("array members, sized and two-dimensional arrays",
            { "globals\ninteger array grid[4][4]\ninteger array big[10000]\nendglobals\n"
              "struct S\ninteger array v[8]\nstatic boolean array b[2][2]\n"
              "method m takes nothing returns integer\nset b[1][1] = true\nreturn v[1] + .v.size + "
              "grid[1][2] + big.size\n"
              "endmethod\nendstruct\nstruct T\ninteger array w\nendstruct\n" },
            { "14:15: an array member needs its size, as in 'integer array a[10]'" });
        row("the colon: i:A is A[i]",
            { "globals\ninteger array X\nendglobals\nlibrary L\nfunction F takes integer a returns integer\n"
              "set a:X = 10\nset a:a = 1\nreturn a:X + 1\nendfunction\nendlibrary\n" },
            { "7:7: 'a' is not an array" });
        row("delegates",
            { "struct A\nmethod hello takes nothing returns integer\nreturn 1\nendmethod\nendstruct\n"
              "struct B\ndelegate A a\nendstruct\nfunction F takes B b returns integer\nreturn b.hello() + "
              "b.bye()\n"
              "endfunction\n" },
            { "10:22: 'B' has no member 'bye'" });
        // Interfaces, modules, function interfaces, dynamic arrays, keys
        row("interfaces with defaults",
            { "interface I\nmethod must takes nothing returns integer\nmethod may takes nothing returns "
              "nothing "
              "defaults nothing\nendinterface\nstruct A extends I\nmethod must takes nothing returns "
              "integer\n"
              "return 1\nendmethod\nendstruct\nstruct B extends I\nendstruct\n"
              "function F takes I i returns integer\ncall i.may()\nreturn i.must() + i.getType() + A.typeid\n"
              "endfunction\n" },
            { "10:8: 'B' extends the interface 'I' but has no method 'must'" });
        row("modules and implement",
            { "module Counter\nprivate static integer hidden = 0\nstatic method next takes nothing returns "
              "integer\n"
              "set hidden = hidden + 1\nreturn hidden + thistype.base\nendmethod\nendmodule\n"
              "struct S\nstatic integer base = 1\nimplement Counter\nimplement Counter\nimplement optional "
              "Gone\n"
              "endstruct\nstruct T\nimplement Gone\nendstruct\nfunction F takes nothing returns integer\n"
              "return S.next() + S.hidden\nendfunction\n" },
            { "15:11: 'Gone' is not a module", "18:21: 'S' has no member 'hidden'" });
        row("function interfaces, evaluate and execute",
            { "function interface Fn takes integer i returns integer\n"
              "function Twice takes integer i returns integer\nreturn 2 * i\nendfunction\n"
              "function Call takes Fn f returns integer\ncall f.execute(1)\nreturn f.evaluate(2) + "
              "Late.evaluate(3)\n"
              "endfunction\nfunction Late takes integer i returns integer\nreturn Call(Fn.Twice) + "
              "Call(Twice)\n"
              "endfunction\nfunction Name takes nothing returns string\nreturn Twice.name + "
              "I2S(Fn.Twice.evaluate())\n"
              "endfunction\n" },
            { "13:25: Fn takes 1 argument (integer i), but is given 0" });
        row("dynamic arrays and keys",
            { "type Ints extends integer array [8]\nglobals\nkey K\nprivate key L\nendglobals\n"
              "function F takes nothing returns integer\nlocal Ints a = Ints.create()\nset a[1] = K + L\n"
              "set K = 2\nreturn a[1] + Ints.size\nendfunction\n" },
            { "9:5: 'K' is a constant and cannot be set" });
        row("code of static methods, hooks",
            { "struct S\nstatic method run takes nothing returns nothing\nendmethod\n"
              "static method take takes integer i returns nothing\nendmethod\nendstruct\n"
              "function OnKill takes unit u returns nothing\nendfunction\n"
              "function F takes nothing returns code\nreturn function S.run\nendfunction\n"
              "function G takes nothing returns code\nreturn function S.take\nendfunction\n"
              "hook KillUnit OnKill\nhook KillUnit S.take\nhook Gone OnKill\n" },
            { "13:19: 'function' needs a function that takes nothing, but 'take' takes 1 argument",
                "17:6: 'Gone' is not declared" });
        row("static if",
            { "globals\nconstant boolean ON = true\nendglobals\nlibrary L\nendlibrary\n"
              "function F takes nothing returns nothing\nstatic if LIBRARY_L and ON then\nlocal integer i = "
              "1\n"
              "elseif LIBRARY_Gone then\ncall Gone()\nelse\ncall Gone()\nendif\nstatic if not DEBUG_MODE "
              "then\n"
              "call Gone2()\nendif\nendfunction\nstatic if LIBRARY_Gone then\nfunction G takes nothing "
              "returns "
              "nothing\ncall Gone()\nendfunction\nendif\n" },
            { "15:6: 'Gone2' is not declared" });
        // The preprocessor
        row("textmacros and their arguments",
            { "//! textmacro Getter takes NAME, TYPE\nfunction Get$NAME$ takes nothing returns $TYPE$\n"
              "return $NAME$Value\nendfunction\n//! endtextmacro\nglobals\ninteger CountValue = "
              "0\nendglobals\n"
              "//! runtextmacro Getter(\"Count\", \"integer\")\n//! runtextmacro Getter(\"Size\", \"real\")\n"
              "function F takes nothing returns integer\nreturn GetCount()\nendfunction\n" },
            { "10:1: 'SizeValue' is not declared (in textmacro 'Getter' on line 3)" });
        row("textmacro mistakes",
            { "//! textmacro M takes A\n//! runtextmacro M(\"1\")\n//! endtextmacro\n//! runtextmacro M()\n"
              "//! runtextmacro Gone()\n//! runtextmacro optional Gone()\n//! runtextmacro M(\"x\")\n"
              "//! textmacro M\n//! endtextmacro\n//! textmacro Open\n" },
            { "4:1: the textmacro 'M' takes 1 argument (A), but is given 0",
                "5:1: no textmacro 'Gone' is defined",
                "7:1: the textmacro 'M' runs itself (in textmacro 'M' on line 2)",
                "8:1: the textmacro 'M' is already defined on line 1",
                "10:1: missing '//! endtextmacro' for the '//! textmacro' on line 10" });
        row("passed over: novjass, zinc, debug lines, delimited comments",
            { "//! novjass\nthis is no code\n//! endnovjass\n//! zinc\nlibrary Z {\n    public function Zf() "
              "{}\n}\n"
              "//! endzinc\nlibrary L\nfunction F takes nothing returns nothing\ndebug call Gone()\n"
              "call /* a\n comment */ Zf()\nendfunction\nendlibrary\n" },
            { "4:1: warning: Zinc is not checked: the lines up to '//! endzinc' are passed over" });
        // The structure
        row("blocks out of place or not closed",
            { "library L\nstruct S\nmethod m takes nothing returns nothing\nendstruct\nendlibrary\n"
              "method n takes nothing returns nothing\nendmethod\nlibrary M\nlibrary "
              "N\nendlibrary\nendlibrary\n"
              "scope T\nfunction f takes nothing returns nothing\nendmethod\nendscope\nendscope\n" },
            { "4:1: missing 'endmethod' for the 'method' on line 3",
                "6:1: 'method' must be inside a struct, an interface or a module",
                "9:1: 'library' cannot be inside a library",
                "14:1: expected 'endfunction' for the 'function' on line 13, "
                "found 'endmethod'",
                "16:1: 'endscope' without 'scope'" });
    }
    void rules()
    {
        QFETCH(QList<QByteArray>, scripts);
        QFETCH(QStringList, expected);
        QCOMPARE(Check(scripts), expected);
    }

    // A script without vJASS is read as before; vJASS read as plain JASS fails where JASS ends.
    void dialects()
    {
        const QByteArray plain = "globals\ninteger g\nendglobals\nfunction F takes nothing returns nothing\n"
                                 "local integer g = 1\nset g = h\nendfunction\n";
        QCOMPARE(Check({ plain }), Check({ plain }, Dialect::Jass));
        const QStringList plainFound { "6:9: 'h' is not declared" };
        QCOMPARE(Check({ plain }), plainFound);
        const QByteArray vjass = "library L\nendlibrary\n";
        QCOMPARE(Check({ vjass }), QStringList());
        const QStringList asJass {
            "1:1: expected a declaration ('type', 'globals', 'native' or 'function'), found 'library'",
            "2:1: expected a declaration ('type', 'globals', 'native' or 'function'), found 'endlibrary'"
        };
        QCOMPARE(Check({ vjass }, Dialect::Jass), asJass);
    }

    // A real library with one mistake gives exactly its message at its line.
    void realMistakes_data()
    {
        QTest::addColumn<QString>("library");
        QTest::addColumn<QByteArray>("anchor");
        QTest::addColumn<QByteArray>("replacement");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *library, const char *anchor,
                             const char *replacement, const char *expected) {
            QTest::newRow(name) << QString::fromLatin1(library) << QByteArray(anchor)
                                << QByteArray(replacement) << QString::fromLatin1(expected);
        };
        row("as it is", "WorldBounds.j", "", "", "");
        row("as it is, the other", "PlayerUtils.j", "", "", "");
        row("misspelt member", "WorldBounds.j", "set maxY = R2I", "set maxZ = R2I",
            ":0: 'maxZ' is not declared");
        row("wrong type", "WorldBounds.j", "set world=GetWorldBounds()", "set world=CreateRegion()",
            ":0: 'CreateRegion' returns region; 'world' is a rect");
        row("readonly set outside", "WorldBounds.j", "endlibrary",
            "function F takes nothing returns nothing\nset WorldBounds.maxX = 1\nendfunction\nendlibrary",
            ":1: 'maxX' is readonly outside its struct");
        row("module not declared", "PlayerUtils.j", "implement Init", "implement Initt",
            ":0: 'Initt' is not a module");
        row("private outside", "PlayerUtils.j", "endlibrary",
            "endlibrary\nfunction F takes nothing returns nothing\ncall User.onInit()\nendfunction",
            ":2: 'User' has no member 'onInit'");
        row("operator's argument", "PlayerUtils.j", "return thistype.LocalId",
            "return thistype[thistype.LocalId]",
            ":0: argument 1 of 'operator []' is player p; 'LocalId' is an integer");
    }
    void realMistakes()
    {
        QFETCH(QString, library);
        QFETCH(QByteArray, anchor);
        QFETCH(QByteArray, replacement);
        QFETCH(QString, expected);
        QByteArray text = Library(library);
        QVERIFY(!text.isEmpty());
        int line = 0;
        if (!anchor.isEmpty()) {
            const qsizetype at = text.indexOf(anchor);
            QVERIFY(at >= 0);
            line = int(text.left(at).count('\n')) + 1;
            text.replace(at, anchor.size(), replacement);
        }
        Options options(false);
        options.preludeSources = 2;
        const Result r = Analyse({ { "common.j", GameFile("common.j") },
                                     { "blizzard.j", GameFile("blizzard.j") }, { library, text } },
            PrimitiveApi(), options);
        QStringList found;
        for (const Diagnostic &d : r.diagnostics)
            found.append(QStringLiteral(":%1: %2").arg(d.line - line).arg(d.message));
        const QStringList wanted = expected.isEmpty() ? QStringList() : QStringList { expected };
        QCOMPARE(found, wanted);
    }

    // The tree the navigation reads: kinds, names, lines and parents.
    void outline()
    {
        const QByteArray script
            = "library L requires M\nstruct S\nimplement Mod\nreal x\n"
              "method operator [] takes integer i returns real\nreturn x\nendmethod\nendstruct\n"
              "endlibrary\n//! textmacro T takes A\nfunction $A$ takes nothing returns nothing\n"
              "endfunction\n//! endtextmacro\n//! runtextmacro T(\"F\")\nlibrary M\nendlibrary\n"
              "module Mod\nendmodule\n";
        const Result r = Analyse({ { "s.j", script } }, PrimitiveApi());
        QStringList shown;
        for (const Declaration &d : r.outline)
            shown.append(QStringLiteral("%1 %2 %3:%4-%5 %6 %7")
                             .arg(int(d.kind))
                             .arg(d.name)
                             .arg(d.line)
                             .arg(d.firstLine)
                             .arg(d.lastLine)
                             .arg(d.parent)
                             .arg(d.type + QLatin1Char('|') + d.uses.join(QLatin1Char(','))));
        QCOMPARE(shown,
            QStringList({ "0 L 1:1-9 -1 |M", "2 S 2:2-8 0 |Mod", "14 Mod 3:3-3 1 |", "7 x 4:4-4 1 real|",
                "9 operator [] 5:5-7 1 real|", "15 T 10:10-13 -1 |", "8 F 14:14-14 -1 nothing|",
                "0 M 15:15-16 -1 |", "4 Mod 17:17-18 -1 |" }));
    }

    // Imports come from beside the script; a missing one says why.
    void imports()
    {
        QTemporaryDir dir;
        QVERIFY(WriteAll(dir.filePath("lib.j"),
            "library Lib\nfunction G takes nothing returns nothing\ncall Gone()\n"
            "endfunction\nendlibrary\n"));
        const QByteArray script = "//! import \"lib.j\"\n//! import \"lib.j\"\n//! import \"none.j\"\n"
                                  "library Main requires Lib\nendlibrary\n";
        const Result r = Analyse({ { dir.filePath("main.j"), script } }, PrimitiveApi());
        QCOMPARE(r.diagnostics.size(), 2);
        QCOMPARE(r.diagnostics[0].line, 1);
        QCOMPARE(r.diagnostics[0].message, QStringLiteral("'Gone' is not declared (in lib.j on line 3)"));
        QCOMPARE(r.diagnostics[1].line, 3);
        QVERIFY(r.diagnostics[1].message.startsWith(QStringLiteral("cannot import 'none.j': ")));
    }

    // A script's folder gives the libraries it requires and the map's trigger globals.
    void project()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("sub/deeper"));
        QVERIFY(WriteAll(dir.filePath("sub/deeper/a.j"), "library A requires B\nendlibrary\n"));
        QVERIFY(
            WriteAll(dir.filePath("sub/b.j"), "library B\n//! textmacro Tm\n//! endtextmacro\nendlibrary\n"));
        QVERIFY(WriteAll(dir.filePath("war3map.j"),
            "globals\ninteger udg_Count = 0\nunit gg_unit_X = null\n"
            "integer other = 0\nendglobals\n"));
        const QByteArray script
            = "library Main requires A\nfunction F takes nothing returns integer\n"
              "//! runtextmacro Tm()\nreturn udg_Count + other\nendfunction\nendlibrary\n";
        const QString folder = dir.filePath("sub/deeper");
        ProjectFiles files;
        const Result r = AnalyseProject(
            { { folder + "/main.j", script } }, PrimitiveApi(), Options(), folder, QString(), &files);
        QCOMPARE(r.diagnostics.size(), 1);
        QCOMPARE(r.diagnostics[0].message, QStringLiteral("'other' is not declared"));
        QCOMPARE(files.libraries.size(), 2);
        QCOMPARE(QFileInfo(files.map).fileName(), QStringLiteral("war3map.j"));
    }

    // Every input the fuzzer kept reads to its end, its diagnostics in its sources.
    void fuzzFindings_data()
    {
        QTest::addColumn<QString>("file");
        const QDir dir(QStringLiteral(TOLVANE_SOURCE_DIR "/fuzz/crashes/vjass"));
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
        Options options;
        options.dialect = Dialect::Vjass;
        options.readFile = [](const QString &, QByteArray *, QString *) { return false; };
        for (const Diagnostic &d : Analyse(sources, PrimitiveApi(), options).diagnostics) {
            const QByteArray &text = sources[d.source].text;
            QVERIFY(d.line >= 1 && d.line <= text.count('\n') + text.count('\r') + 1);
        }
    }
};

TOLVANE_TEST(VjassTest);

#include "VjassTest.moc"
