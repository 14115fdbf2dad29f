#include "TestRegistry.h"

#include "langdata/WritingHelp.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace WritingHelp;

namespace {

// A script of a project folder whose other file declares the library it requires.
const char kBase[] = "library Base\n"
                     "    struct Node\n"
                     "        integer value\n"
                     "    endstruct\n"
                     "endlibrary\n";
const char kScript[] = "library Shapes requires Base\n" // 0
                       "    interface Shape\n"
                       "        method area takes nothing returns real\n"
                       "    endinterface\n"
                       "    module Named\n"
                       "        string name\n" // 5
                       "        private integer secret\n"
                       "        method rename takes string s returns nothing\n"
                       "        endmethod\n"
                       "    endmodule\n"
                       "    struct Point extends Shape\n" // 10
                       "        implement Named\n"
                       "        real x\n"
                       "        private real hidden\n"
                       "        static integer count = 0\n"
                       "        Point array ring[4]\n" // 15
                       "        method area takes nothing returns real\n"
                       "            return 0.\n"
                       "        endmethod\n"
                       "        method move takes real dx, real dy returns thistype\n"
                       "            local Point p = this\n" // 20
                       "            return this\n"
                       "        endmethod\n"
                       "        method operator size= takes real v returns nothing\n"
                       "        endmethod\n"
                       "        method operator size takes nothing returns real\n" // 25
                       "            return 0.\n"
                       "        endmethod\n"
                       "    endstruct\n"
                       "    struct Point3 extends Point\n"
                       "        real z\n" // 30
                       "    endstruct\n"
                       "endlibrary\n"
                       "function Test takes nothing returns nothing\n"
                       "    local Point p = Point.create()\n"
                       "    local Point3 q = 0\n" // 35
                       "    local Shape s = 0\n"
                       "    local Node n = 0\n"
                       "endfunction\n"
                       "struct Cell extends array\n"
                       "    integer depth\n"
                       "    static integer total\n"
                       "endstruct\n";
constexpr int kInMove = 20;
constexpr int kInTest = 36;

struct Fixture {
    Fixture()
    {
        QFile base(folder.filePath("base.j"));
        QFile script(folder.filePath("shapes.j"));
        if (!base.open(QIODevice::WriteOnly) || base.write(kBase) < 0 || !script.open(QIODevice::WriteOnly)
            || script.write(kScript) < 0)
            qFatal("cannot write the project");
        base.close();
        script.close();
        index.Build(kScript, script.fileName(), folder.path());
    }
    QTemporaryDir folder;
    Catalogue catalogue;
    ScriptIndex index;
};

} // namespace

class MembersTest : public QObject {
    Q_OBJECT

private slots:
    void members_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<QString>("text"); // the caret at the end
        QTest::addColumn<QString>("names"); // "-": no "." before the word
        const QString point = "area destroy getType move name rename ring size x";
        QTest::newRow("p.") << kInTest << "call p." << point;
        QTest::newRow("p.na") << kInTest << "call p.na"
                              << "name";
        QTest::newRow("Point.") << kInTest << "call Point."
                                << "count create typeid";
        QTest::newRow("Point3 q.") << kInTest << "set q."
                                   << "area destroy getType move name rename ring size x z";
        QTest::newRow("Shape s.") << kInTest << "call s."
                                  << "area destroy getType";
        QTest::newRow("p.move(1, 2).") << kInTest << "call p.move(1, (2))." << point;
        QTest::newRow("Point(0).") << kInTest << "set x = Point(0)." << point;
        QTest::newRow("p.ring[1].") << kInTest << "set x = p.ring[1]." << point;
        QTest::newRow("Point.create().") << kInTest << "call Point.create()." << point;
        QTest::newRow("Node n., another file") << kInTest << "set n."
                                               << "destroy getType value";
        QTest::newRow("this. in a method")
            << kInMove << "set this."
            << "area deallocate destroy getType hidden move name rename ring size x";
        QTest::newRow("bare . in a method")
            << kInMove << "return ."
            << "area deallocate destroy getType hidden move name rename ring size x";
        QTest::newRow("thistype.") << kInMove << "call thistype."
                                   << "allocate count create typeid";
        QTest::newRow("Cell., an array struct") << kInTest << "call Cell."
                                                << "depth total";
        QTest::newRow("Cell[1].") << kInTest << "set x = Cell[1]."
                                  << "depth";
        QTest::newRow("p.x. is a real") << kInTest << "set p.x."
                                        << "";
        QTest::newRow("1. is a number") << kInTest << "set r = 1."
                                        << "";
        QTest::newRow("unknown.") << kInTest << "call unknown."
                                  << "";
        QTest::newRow("in a comment") << kInTest << "// p."
                                      << "-";
        QTest::newRow("no dot") << kInTest << "call p"
                                << "-";
    }
    void members()
    {
        QFETCH(int, line);
        QFETCH(QString, text);
        QFETCH(QString, names);
        Fixture f;
        const auto [start, length] = WordAt(text, int(text.size()));
        const int at = length > 0 ? start : int(text.size());
        const auto found = CompleteMembers(&f.index, line, text, at, text.mid(at));
        QStringList list;
        for (const Candidate &c : found.value_or(QList<Candidate> {}))
            list << c.name;
        QCOMPARE(found ? list.join(u' ') : QStringLiteral("-"), names);
    }

    void methodTip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tip");
        QTest::newRow("p.move(") << "call p.move("
                                 << "method move takes [real dx], real dy returns thistype";
        QTest::newRow("p.move(1, ") << "call p.move(1, "
                                    << "method move takes real dx, [real dy] returns thistype";
        QTest::newRow("module's method") << "call p.rename("
                                         << "method rename takes [string s] returns nothing";
        QTest::newRow("builtin create") << "set p = Point.create("
                                        << "static method create takes nothing returns Point";
        QTest::newRow("a field is no call") << "call p.x("
                                            << "";
    }
    void methodTip()
    {
        QFETCH(QString, text);
        QFETCH(QString, tip);
        Fixture f;
        const auto declaration = [&](const QString &name, int start) {
            return CallDeclarationAt(f.catalogue, &f.index, kInTest, text, start, name);
        };
        const auto call = CallAt(text, int(text.size()),
            [&](const QString &name, int start) { return !declaration(name, start).isEmpty(); });
        const Tip made = call ? MakeTip(declaration(call->function, call->start), call->argument) : Tip();
        QCOMPARE(made.text.left(made.boldStart) + (made.boldLength ? "[" : "")
                + made.text.mid(made.boldStart, made.boldLength) + (made.boldLength ? "]" : "")
                + made.text.mid(made.boldStart + made.boldLength),
            tip);
    }

    void declaration_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("found"); // "line N", or "FILE line N"
        QTest::newRow("p.x") << "set p.x = 1"
                             << "x"
                             << "line 12";
        QTest::newRow("q.x, inherited") << "set q.x = 1"
                                        << "x"
                                        << "line 12";
        QTest::newRow("p.rename, a module's") << "call p.rename(\"a\")"
                                              << "rename"
                                              << "line 7";
        QTest::newRow("p.size, a property's getter") << "set r = p.size"
                                                     << "size"
                                                     << "line 25";
        QTest::newRow("p.destroy, at its struct") << "call p.destroy()"
                                                  << "destroy"
                                                  << "line 10";
        QTest::newRow("Point") << "local Point p"
                               << "Point"
                               << "line 10";
        QTest::newRow("implement Named") << "implement Named"
                                         << "Named"
                                         << "line 4";
        QTest::newRow("Base, another file") << "library Shapes requires Base"
                                            << "Base"
                                            << "base.j line 0";
        QTest::newRow("n.value, another file") << "set n.value = 1"
                                               << "value"
                                               << "base.j line 2";
        QTest::newRow("local p") << "set p = 0"
                                 << "p"
                                 << "line 34";
    }
    void declaration()
    {
        QFETCH(QString, text);
        QFETCH(QString, word);
        QFETCH(QString, found);
        Fixture f;
        const int start = int(text.indexOf(word));
        const auto at = FindDeclarationAt(f.catalogue, &f.index, kInTest, text, start, word);
        QCOMPARE(!at ? QString()
                     : (at->file.isEmpty() ? QString() : QFileInfo(at->file).fileName() + u' ')
                    + QStringLiteral("line %1").arg(at->line),
            found);
    }
};

TOLVANE_TEST(MembersTest);
#include "MembersTest.moc"
