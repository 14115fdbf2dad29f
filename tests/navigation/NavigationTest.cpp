#include "TestRegistry.h"

#include "navigation/Navigation.h"

#include <QTest>

using namespace Navigation;

namespace {

const char kVjass[] = "library Stacks\n"
                      "globals\n"
                      "    private integer count = 0\n"
                      "endglobals\n"
                      "//! textmacro MakeGetter takes NAME\n"
                      "function Get$NAME$ takes nothing returns integer\n"
                      "    return 0\n"
                      "endfunction\n"
                      "//! endtextmacro\n"
                      "struct IntStack\n"
                      "    integer top = 0\n"
                      "    static method create takes nothing returns thistype\n"
                      "        return thistype.allocate()\n"
                      "    endmethod\n"
                      "    method pushValue takes integer v returns nothing\n"
                      "    endmethod\n"
                      "endstruct\n"
                      "//! runtextmacro MakeGetter(\"Top\")\n"
                      "endlibrary\n";

const char kJass[] = "type myhandle extends handle\n"
                     "globals\n"
                     "    integer gCount = 0\n"
                     "    constant real MAX_Range = 1.0\n"
                     "endglobals\n"
                     "native DoIt takes nothing returns nothing\n"
                     "function InitTrig_Spawn takes nothing returns nothing\n"
                     "    local integer i = 0\n"
                     "endfunction\n"
                     "function Spawn_Units takes nothing returns nothing\n"
                     "endfunction\n";

SymbolIndex Index(const char *script)
{
    return SymbolIndex(Symbols(Analysis::Analyse({ { QString(), script } }, Analysis::PrimitiveApi())));
}

// One line per symbol, indented by its depth: "kind name first-last".
QStringList Tree(const SymbolIndex &index, int parent = -1, int depth = 0)
{
    QStringList lines;
    for (const int s : index.Children(parent)) {
        const Symbol &symbol = index[s];
        lines << QString(2 * depth, u' ')
                + QStringLiteral("%1 %2 %3-%4")
                      .arg(KindName(symbol.kind), symbol.name)
                      .arg(symbol.firstLine + 1)
                      .arg(symbol.lastLine + 1);
        lines << Tree(index, s, depth + 1);
    }
    return lines;
}

QStringList Names(const SymbolIndex &index, const QList<int> &symbols)
{
    QStringList names;
    for (const int s : symbols)
        names << index[s].name;
    return names;
}

} // namespace

class NavigationTest : public QObject {
    Q_OBJECT

    const SymbolIndex vjass = Index(kVjass);
    const SymbolIndex jass = Index(kJass);

private slots:
    void tree_data()
    {
        QTest::addColumn<bool>("isVjass");
        QTest::addColumn<QStringList>("tree");
        QTest::newRow("vJASS library")
            << true
            << QStringList { "library Stacks 1-19", "  global count 3-3", "  textmacro MakeGetter 5-9",
                   "  struct IntStack 10-17", "    method create 12-14", "    method pushValue 15-16",
                   "  function GetTop 18-18" };
        QTest::newRow("plain JASS") << false
                                    << QStringList { "type myhandle 1-1", "global gCount 3-3",
                                           "global MAX_Range 4-4", "native DoIt 6-6",
                                           "function InitTrig_Spawn 7-9", "function Spawn_Units 10-11" };
    }
    void tree()
    {
        QFETCH(bool, isVjass);
        QFETCH(QStringList, tree);
        QCOMPARE(Tree(isVjass ? vjass : jass), tree);
    }

    void filter_data()
    {
        QTest::addColumn<bool>("isVjass");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("nothing: all by name")
            << false << QString()
            << QStringList { "DoIt", "gCount", "InitTrig_Spawn", "MAX_Range", "myhandle", "Spawn_Units" };
        QTest::newRow("spawn: prefix, then after _")
            << false << "spawn" << QStringList { "Spawn_Units", "InitTrig_Spawn" };
        QTest::newRow("count: a capital inside") << false << "count" << QStringList { "gCount" };
        QTest::newRow("it: not inside a word") << false << "it" << QStringList { "DoIt" };
        QTest::newRow("ange: no word starts so") << false << "ange" << QStringList {};
        QTest::newRow("stack: prefix before word") << true << "stack" << QStringList { "Stacks", "IntStack" };
        QTest::newRow("VALUE: case ignored") << true << "VALUE" << QStringList { "pushValue" };
    }
    void filter()
    {
        QFETCH(bool, isVjass);
        QFETCH(QString, typed);
        QFETCH(QStringList, names);
        const SymbolIndex &index = isVjass ? vjass : jass;
        QCOMPARE(Names(index, index.Filter(typed)), names);
    }

    void at_data()
    {
        QTest::addColumn<bool>("isVjass");
        QTest::addColumn<int>("line"); // 1-based
        QTest::addColumn<QString>("name");
        QTest::newRow("method body") << true << 13 << "create";
        QTest::newRow("struct member line") << true << 11 << "IntStack";
        QTest::newRow("between methods") << true << 17 << "IntStack";
        QTest::newRow("globals keyword") << true << 2 << "Stacks";
        QTest::newRow("runtextmacro line") << true << 18 << "GetTop";
        QTest::newRow("after everything") << true << 20 << "";
        QTest::newRow("function body") << false << 8 << "InitTrig_Spawn";
        QTest::newRow("endglobals") << false << 5 << "";
    }
    void at()
    {
        QFETCH(bool, isVjass);
        QFETCH(int, line);
        QFETCH(QString, name);
        const SymbolIndex &index = isVjass ? vjass : jass;
        const int found = index.At(line - 1);
        QCOMPARE(found < 0 ? QString() : index[found].name, name);
    }

    void nameRange_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::newRow("function Foo takes") << "  function Foo takes"
                                            << "Foo" << 0 << 11 << 3;
        QTest::newRow("whole word: FooBar, Foo") << "integer FooBar, Foo"
                                                 << "Foo" << 0 << 16 << 3;
        QTest::newRow("nearest the column") << "Foo Foo Foo"
                                            << "Foo" << 6 << 4 << 3;
        QTest::newRow("byte column past é") << "// é\tFoo"
                                            << "Foo" << 7 << 5 << 3;
        QTest::newRow("operator[]") << "method operator[] takes"
                                    << "operator []" << 8 << 7 << 8;
        QTest::newRow("written by a textmacro") << "  //! runtextmacro M()"
                                                << "GetX" << 3 << 2 << 0;
    }
    void nameRange()
    {
        QFETCH(QString, line);
        QFETCH(QString, name);
        QFETCH(int, column);
        QFETCH(int, start);
        QFETCH(int, length);
        Symbol symbol;
        symbol.name = name;
        symbol.column = column;
        QCOMPARE(NameRange(line, symbol), std::make_pair(start, length));
    }
};

TOLVANE_TEST(NavigationTest);
#include "NavigationTest.moc"
