#include "TestRegistry.h"

#include "langdata/TypeMenu.h"

#include <QTest>

namespace {

const QStringList kFixedCaptions
    = { "Any Type", "Unit", "Integer", "Real", "Boolean", "Group", "Player", "String", "Nothing" };

} // namespace

class TypeMenuTest : public QObject {
    Q_OBJECT

private slots:
    void extraTypes_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("types");
        QTest::newRow("fixed types only")
            << QStringList { "A takes nothing returns integer", "B takes unit u returns nothing",
                   "C takes nothing returns Real", "D takes nothing returns BOOLEAN" }
            << QStringList {};
        QTest::newRow("spelling met first") << QStringList { "A takes nothing returns Location",
            "B takes nothing returns location", "C takes nothing returns LOCATION" }
                                            << QStringList { "Location" };
        QTest::newRow("short types") << QStringList { "A returns ab", "B returns x", "C returns abc" }
                                     << QStringList { "abc" };
        QTest::newRow("line ending in a space")
            << QStringList { "A takes nothing returns timer " } << QStringList {};
        QTest::newRow("line ending in a comment")
            << QStringList { "A takes nothing returns unit // the caster", "B returns unit // is" }
            << QStringList { "caster" };
        QTest::newRow("blank and comment lines")
            << QStringList { "", "// natives" } << QStringList { "natives" };
        QTest::newRow("sorted with case ignored")
            << QStringList { "A returns timer", "B returns Effect", "C returns force", "D returns effect" }
            << QStringList { "Effect", "force", "timer" };
        QTest::newRow("a word of a caption is no type")
            << QStringList { "A returns Type", "B returns Any" } << QStringList { "Any", "Type" };
    }
    void extraTypes()
    {
        QFETCH(QStringList, lines);
        QTEST(ExtraTypes(kFixedCaptions, lines), "types");
    }
};

TOLVANE_TEST(TypeMenuTest);
#include "TypeMenuTest.moc"
