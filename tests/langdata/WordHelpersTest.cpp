#include "TestRegistry.h"

#include "langdata/WordHelpers.h"

#include <QTest>

class WordHelpersTest : public QObject
{
    Q_OBJECT

private slots:
    void firstWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::newRow("leading spaces") << "   native Foo takes nothing" << "native";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("spaces only") << "   " << "";
        QTest::newRow("tab belongs to word") << "\tcall X" << "\tcall";
        QTest::newRow("one word") << "endfunction" << "endfunction";
    }
    void firstWord()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QCOMPARE(FirstWord(text), word);
    }

    void secondWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::newRow("integer bj_X = 5") << "integer bj_X = 5" << "bj_X";
        QTest::newRow("constant integer bj_X = 5") << "constant integer bj_X = 5" << "integer";
        QTest::newRow("endfunction") << "endfunction" << "";
        QTest::newRow("equals stop") << "integer bj_X=5" << "bj_X";
        QTest::newRow("trailing space after first") << "integer " << "";
        QTest::newRow("leading spaces, many between") << "  a    b c" << "b";
        QTest::newRow("equals first") << "a =5" << "";
        QTest::newRow("empty") << "" << "";
    }
    void secondWord()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QCOMPARE(SecondWord(text), word);
    }

    void wordAt_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("word");
        QTest::newRow("3 of constant integer array Foo") << "constant integer array Foo" << 3 << "array";
        QTest::newRow("-1 before comment") << "set x = 5 // note" << -1 << "5";
        QTest::newRow("-1 comment only") << "// note only" << -1 << "";
        QTest::newRow("+1 comment only keeps marker") << "// note only" << 1 << "//";
        QTest::newRow("3 of two words") << "a b" << 3 << "";
        QTest::newRow("zero") << "a b" << 0 << "";
        QTest::newRow("-2 trailing spaces") << "a b c   " << -2 << "b";
        QTest::newRow("-3 of two") << "a b" << -3 << "";
        QTest::newRow("-1 comment glued") << "endloop//x" << -1 << "endloop";
        QTest::newRow("-1 one char") << "x" << -1 << "x";
        QTest::newRow("-1 single slash") << "/" << -1 << "/";
        QTest::newRow("-1 string with slashes cut") << "set s = \"a//b\"" << -1 << "\"a";
        QTest::newRow("-1 empty") << "" << -1 << "";
        QTest::newRow("+2 leading spaces") << "   a  b" << 2 << "b";
        QTest::newRow("-1 tab is not separator") << "a\tb" << -1 << "a\tb";
    }
    void wordAt()
    {
        QFETCH(QString, text);
        QFETCH(int, n);
        QFETCH(QString, word);
        QCOMPARE(WordAt(text, n), word);
        QVERIFY(!WordAt(text, n).isNull()); // an empty result is not a null one
    }

    void lastWord_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::newRow("return type") << "Foo takes nothing returns unit" << "unit";
        QTest::newRow("trailing space") << "Foo takes nothing returns unit " << "";
        QTest::newRow("no space") << "unit" << "unit";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("comment not cut") << "Foo returns unit // c" << "c";
    }
    void lastWord()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QCOMPARE(LastWord(text), word);
    }

    void globalType_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("type");
        QTest::newRow("constant real") << "constant real bj_PI = 3.14" << "real";
        QTest::newRow("unit array") << "unit array Units" << "unit";
        QTest::newRow("constant alone") << "constant" << "";
        QTest::newRow("Constant is a type word") << "Constant real x" << "Constant";
        QTest::newRow("leading spaces") << "  constant integer X = 1" << "integer";
    }
    void globalType()
    {
        QFETCH(QString, text);
        QFETCH(QString, type);
        QCOMPARE(GlobalType(text), type);
    }

    void midText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("result");
        QTest::newRow("prefix") << "abcdef" << 1 << 3 << "abc";
        QTest::newRow("cut marker") << "@clBlue" << 2 << 1000 << "clBlue";
        QTest::newRow("start past end") << "abc" << 4 << 1 << "";
        QTest::newRow("zero count") << "abc" << 1 << 0 << "";
        QTest::newRow("negative count") << "abc" << 1 << -1 << "";
        QTest::newRow("runs short") << "abc" << 2 << 10 << "bc";
        QTest::newRow("empty") << "" << 1 << 1 << "";
    }
    void midText()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, count);
        QFETCH(QString, result);
        QCOMPARE(MidText(text, start, count), result);
    }
};

TOLVANE_TEST(WordHelpersTest);
#include "WordHelpersTest.moc"
