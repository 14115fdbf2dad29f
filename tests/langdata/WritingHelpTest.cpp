#include "TestRegistry.h"

#include "langdata/WritingHelp.h"

#include <QTest>

using namespace WritingHelp;

namespace {

const char kScript[] = "globals\n"
                       "    integer gCount = 0\n"
                       "endglobals\n"
                       "function Foo takes integer a, real b returns nothing\n"
                       "    local unit getter = null\n"
                       "endfunction\n";

struct Fixture {
    Fixture()
    {
        auto &functions = catalogue[CategoryKind::Functions];
        functions.Lines
            = { "CreateUnit takes player id, integer unitid, real x, real y, real face returns unit",
                  "GetUnitX takes unit whichUnit returns real", "AbcDef takes nothing returns integer",
                  "abcdef takes nothing returns integer", "" };
        for (const QString &line : functions.Lines)
            functions.Names << DeclarationName(CategoryKind::Functions, line);
        catalogue[CategoryKind::AIFunctions].Lines = { "AIOnly takes nothing returns nothing" };
        catalogue[CategoryKind::AIFunctions].Names = { "AIOnly" };
        script.Build(kScript);
    }
    Catalogue catalogue;
    ScriptIndex script;
};

// "[...]" around the bold part of a tip.
QString Marked(const Tip &tip)
{
    if (tip.boldLength == 0)
        return tip.text;
    return tip.text.left(tip.boldStart) + u'[' + tip.text.mid(tip.boldStart, tip.boldLength) + u']'
        + tip.text.mid(tip.boldStart + tip.boldLength);
}

} // namespace

class WritingHelpTest : public QObject {
    Q_OBJECT

private slots:
    void callTip_data()
    {
        QTest::addColumn<QString>("line"); // the caret at the end
        QTest::addColumn<QString>("tip");
        const QString create = "CreateUnit takes %1, %2, %3, %4, %5 returns unit";
        QTest::newRow("call CreateUnit(")
            << "call CreateUnit("
            << create.arg("[player id]", "integer unitid", "real x", "real y", "real face");
        QTest::newRow("second argument")
            << "call CreateUnit(p, "
            << create.arg("player id", "[integer unitid]", "real x", "real y", "real face");
        QTest::newRow("nested call") << "call CreateUnit(p, GetUnitX("
                                     << "GetUnitX takes [unit whichUnit] returns real";
        QTest::newRow("after a closed nested call")
            << "call CreateUnit(p, GetUnitX(u), "
            << create.arg("player id", "integer unitid", "[real x]", "real y", "real face");
        QTest::newRow("brackets and a string")
            << "call CreateUnit((a + b[1, 2]), \"a,(\", "
            << create.arg("player id", "integer unitid", "[real x]", "real y", "real face");
        QTest::newRow("script's own function") << "call Foo(1, "
                                               << "Foo takes integer a, [real b] returns nothing";
        QTest::newRow("takes nothing") << "call AIOnly("
                                       << "AIOnly takes nothing returns nothing";
        QTest::newRow("call closed") << "call CreateUnit(p) "
                                     << "";
        QTest::newRow("in a comment") << "// CreateUnit("
                                      << "";
        QTest::newRow("unknown name") << "call Nowhere("
                                      << "";
    }
    void callTip()
    {
        QFETCH(QString, line);
        QFETCH(QString, tip);
        Fixture f;
        const auto call = CallAt(line, int(line.size()),
            [&f](const QString &name) { return !CallDeclaration(f.catalogue, &f.script, name).isEmpty(); });
        QCOMPARE(call
                ? Marked(MakeTip(CallDeclaration(f.catalogue, &f.script, call->function), call->argument))
                : QString(),
            tip);
    }

    void complete_data()
    {
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<int>("line");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("g inside Foo") << "g" << 4 << QStringList { "gCount", "getter", "GetUnitX" };
        QTest::newRow("G outside Foo") << "G" << 0 << QStringList { "gCount", "GetUnitX" };
        QTest::newRow("abc, case ignored, once") << "abc" << 0 << QStringList { "AbcDef" };
        QTest::newRow("fo, the script's function") << "fo" << 0 << QStringList { "Foo" };
        QTest::newRow("nothing begins so") << "zz" << 0 << QStringList {};
    }
    void complete()
    {
        QFETCH(QString, prefix);
        QFETCH(int, line);
        QFETCH(QStringList, names);
        Fixture f;
        QStringList found;
        for (const Candidate &candidate : Complete(f.catalogue, &f.script, line, prefix))
            found << candidate.name;
        QCOMPARE(found, names);
    }

    void declaration_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("found"); // "line N" in the script, or the catalogue's line
        QTest::newRow("function") << "Foo" << 0 << "line 3";
        QTest::newRow("local, inside its function") << "getter" << 4 << "line 4";
        QTest::newRow("local, outside") << "getter" << 0 << "";
        QTest::newRow("parameter") << "b" << 5 << "line 3";
        QTest::newRow("global") << "gCount" << 4 << "line 1";
        QTest::newRow("catalogue") << "GetUnitX" << 0 << "GetUnitX takes unit whichUnit returns real";
        QTest::newRow("case matters") << "foo" << 0 << "";
    }
    void declaration()
    {
        QFETCH(QString, name);
        QFETCH(int, line);
        QFETCH(QString, found);
        Fixture f;
        const auto at = FindDeclaration(f.catalogue, &f.script, line, name);
        QCOMPARE(!at ? QString() : at->inScript ? QStringLiteral("line %1").arg(at->line) : at->text, found);
    }
};

TOLVANE_TEST(WritingHelpTest);
#include "WritingHelpTest.moc"
