#include "TestRegistry.h"

#include "checker/SyntaxCheck.h"

#include <QTest>

class SyntaxCheckTest : public QObject {
    Q_OBJECT

private slots:
    void tokenCount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("words");
        QTest::addColumn<int>("assignment");
        QTest::newRow("local integer i") << "local integer i" << 3 << 3;
        QTest::newRow("spaces only") << "     " << 0 << 0;
        QTest::newRow("empty") << "" << 0 << 0;
        QTest::newRow("else // done") << "else // done" << 1 << 1;
        QTest::newRow("// at start") << "// a b c" << 0 << 0;
        QTest::newRow("set x = 5") << "set x = 5" << 4 << 4;
        QTest::newRow("set x=5") << "set x=5" << 2 << 4;
        QTest::newRow("set x==5") << "set x==5" << 2 << 5;
        QTest::newRow("set x =") << "set x =" << 3 << 3;
        QTest::newRow("set x // = 1") << "set x // = 1" << 2 << 2;
        QTest::newRow("tab is a word") << "\t// x" << 1 << 1;
        QTest::newRow("single slash") << "a / b" << 3 << 3;
        QTest::newRow("comment glued") << "call F()//x y" << 2 << 2;
    }
    void tokenCount()
    {
        QFETCH(QString, text);
        QFETCH(int, words);
        QFETCH(int, assignment);
        QCOMPARE(WordCount(text), words);
        QCOMPARE(AssignmentCount(text), assignment);
    }

    // Each row is one line by itself; an empty message means it passes.
    void checkLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("message");
        const QString ok;
        const QString unknown = QStringLiteral("Unknown statement");
        const QString endOfLine = QStringLiteral("End of line expected!");

        QTest::newRow("empty") << "" << ok;
        QTest::newRow("spaces") << "    " << ok;
        QTest::newRow("    // note") << "    // note" << ok;
        QTest::newRow("tab // note") << "\t// note" << unknown;

        QTest::newRow("function takes nothing returns nothing") << "function takes nothing returns nothing"
                                                                << "Function name is missing!";
        QTest::newRow("function F nothing returns nothing") << "function F nothing returns nothing"
                                                            << "takes is missing!";
        QTest::newRow("function F takes nothing returns") << "function F takes nothing returns"
                                                          << "Return type is missing!";
        QTest::newRow("function F takes nothing") << "function F takes nothing"
                                                  << "returns is missing!";
        QTest::newRow("function F takes returns nothing") << "function F takes returns nothing"
                                                          << "Formal parameters (takes) are missing!";
        QTest::newRow("native F takes integer i returns nothing")
            << "native F takes integer i returns nothing" << ok;
        QTest::newRow("function F takes nothing returns nothing // header")
            << "function F takes nothing returns nothing // header" << ok;
        QTest::newRow("  function F takes a b, c d returns real")
            << "  function F takes a b, c d returns real" << ok;
        QTest::newRow("function F takes nothing returns nothing extra")
            << "function F takes nothing returns nothing extra"
            << "returns is missing!";
        QTest::newRow("native F takes nothing returns nothing//x")
            << "native F takes nothing returns nothing//x" << ok;
        QTest::newRow("constant function F takes nothing returns nothing")
            << "constant function F takes nothing returns nothing" << unknown;
        QTest::newRow("function alone") << "function"
                                        << "takes is missing!";

        QTest::newRow("endfunction") << "endfunction" << ok;
        QTest::newRow("   endfunction") << "   endfunction" << ok;
        QTest::newRow("endfunction  // end") << "endfunction  // end" << ok;
        QTest::newRow("endfunction trailing spaces") << "endfunction   " << ok;
        QTest::newRow("endfunction x") << "endfunction x" << endOfLine;
        QTest::newRow("endfunction tab") << "endfunction\t" << unknown;
        QTest::newRow("endfunction space tab") << "endfunction \t" << endOfLine;
        QTest::newRow("endfunction / x") << "endfunction / x" << endOfLine;
        QTest::newRow("endfunction//x") << "endfunction//x" << unknown;

        QTest::newRow("local integer i") << "local integer i" << ok;
        QTest::newRow("local integer") << "local integer"
                                       << "Incomplete declaration!";
        QTest::newRow("local integer // i") << "local integer // i"
                                            << "Incomplete declaration!";

        QTest::newRow("if x then // y") << "if x then // y" << ok;
        QTest::newRow("if then") << "if then" << ok;
        QTest::newRow("if x") << "if x"
                              << "then is missing!";
        QTest::newRow("if s == \"//\" then") << "if s == \"//\" then"
                                             << "then is missing!";
        QTest::newRow("if x Then") << "if x Then"
                                   << "then is missing!";

        QTest::newRow("elseif") << "elseif"
                                << "Boolean expression expected after elseif";
        QTest::newRow("elseif // x") << "elseif // x"
                                     << "Boolean expression expected after elseif";
        QTest::newRow("elseif x") << "elseif x" << ok;

        QTest::newRow("else") << "else" << ok;
        QTest::newRow("endloop // done") << "endloop // done" << ok;
        QTest::newRow("endif x") << "endif x" << endOfLine;
        QTest::newRow("else x") << "else x" << endOfLine;
        QTest::newRow("loop x") << "loop x" << endOfLine;
        QTest::newRow("endloop x") << "endloop x" << endOfLine;
        QTest::newRow("endloop//x") << "endloop//x" << unknown;

        QTest::newRow("exitwhen") << "exitwhen"
                                  << "Boolean expected after exitwhen";
        QTest::newRow("exitwhen i > 5") << "exitwhen i > 5" << ok;
        QTest::newRow("call") << "call"
                              << "Function expected after call";
        QTest::newRow("call // F()") << "call // F()"
                                     << "Function expected after call";
        QTest::newRow("call F()//x") << "call F()//x" << ok;

        QTest::newRow("set x=1") << "set x=1" << ok;
        QTest::newRow("set x =") << "set x ="
                                 << "Incomplete assignment";
        QTest::newRow("set x 1") << "set x 1"
                                 << "No equal-sign (=) found";
        QTest::newRow("set x // =") << "set x // ="
                                    << "Incomplete assignment";
        QTest::newRow("set") << "set"
                             << "No equal-sign (=) found";

        QTest::newRow("return") << "return" << ok;
        QTest::newRow("return x y z") << "return x y z" << ok;

        QTest::newRow("Call F()") << "Call F()" << unknown;
        QTest::newRow("globals") << "globals" << unknown;
        QTest::newRow("integer x = 1") << "integer x = 1" << unknown;
        QTest::newRow("tab call F()") << "\tcall F()" << unknown;
    }
    void checkLine()
    {
        QFETCH(QString, line);
        QFETCH(QString, message);
        QCOMPARE(CheckLine(line), message);
        const SyntaxCheckResult result = CheckSyntax({ line });
        QCOMPARE(result.Passed(), message.isEmpty());
        QCOMPARE(result.line, message.isEmpty() ? -1 : 0);
        QCOMPARE(result.message, message.isEmpty() ? QStringLiteral("No errors found!") : message);
    }

    void checkSyntax_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<qsizetype>("line");
        QTest::addColumn<QString>("message");
        QTest::newRow("no lines") << QStringList() << qsizetype(-1) << "No errors found!";
        QTest::newRow("blank and comment lines")
            << QStringList { "", "   ", "// a", "  // b" } << qsizetype(-1) << "No errors found!";
        QTest::newRow("error on third of three")
            << QStringList { "function F takes nothing returns nothing", "call G()", "endloop x" }
            << qsizetype(2) << "End of line expected!";
        QTest::newRow("first of two errors wins")
            << QStringList { "local x", "set y" } << qsizetype(0) << "Incomplete declaration!";
        QTest::newRow("whole function") << QStringList { "function F takes integer a returns integer",
            "    local integer b = a", "    if b > 0 then", "        set b = b - 1", "    elseif b < 0 then",
            "        return 0", "    else", "        loop", "            exitwhen b == 0",
            "            call G(b)", "        endloop", "    endif", "    return b", "endfunction" }
                                        << qsizetype(-1) << "No errors found!";
    }
    void checkSyntax()
    {
        QFETCH(QStringList, lines);
        QFETCH(qsizetype, line);
        QFETCH(QString, message);
        const SyntaxCheckResult result = CheckSyntax(lines);
        QCOMPARE(result.line, line);
        QCOMPARE(result.message, message);
    }

    void checkSyntaxAllListsEveryFailureInOrder()
    {
        const QStringList lines { "globals", "set x = 1", "call", "endglobals" };
        const QList<SyntaxCheckResult> failures = CheckSyntaxAll(lines);
        QCOMPARE(failures.size(), 3);
        QCOMPARE(failures[0].line, 0);
        QCOMPARE(failures[1].line, 2);
        QCOMPARE(failures[1].message, QStringLiteral("Function expected after call"));
        QCOMPARE(failures[2].line, 3);
        QVERIFY(CheckSyntaxAll({ "call F()", "" }).isEmpty());
        QCOMPARE(CheckSyntax(lines).line, failures.first().line);
    }
};

TOLVANE_TEST(SyntaxCheckTest);
#include "SyntaxCheckTest.moc"
