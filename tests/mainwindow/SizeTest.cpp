#include "ProgramSession.h"
#include "TestRegistry.h"

#include "../cli/CliRun.h"
#include "app/Project1.h"
#include "checker/SyntaxCheck.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "merge/Merge.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextLayout>
#include <QVector3D>

namespace {

// A map script's lines in a realistic mix, every function numbered so no two
// share a name: headers with long names, locals, loops, calls, strings that
// hold "//", comments after code and on lines of their own. Every line passes
// the syntax check.
QStringList MixedScript(int count)
{
    QStringList lines;
    lines.reserve(count);
    for (int f = 0; lines.size() < count; ++f) {
        const QString n = QString::number(f);
        const QStringList block {
            "// Trigger " + n + ": spawns the wave",
            "function Trig_SpawnWave_Actions_WithAVeryLongDescriptiveName_" + n
                + " takes nothing returns nothing",
            "    local integer i = 0",
            "    local unit u",
            "    local string s = \"http://example.org/wave/" + n + "\"",
            "    loop",
            "        exitwhen i > " + n,
            "        set u = CreateUnit(Player(0), 'hfoo', 0.0, 0.0, 270.0)",
            "        call SetUnitState(u, UNIT_STATE_LIFE, 100.0) // full",
            "        set i = i + 1",
            "    endloop",
            "    if s == \"\" then",
            "        call BJDebugMsg(\"msg empty // \" + s)",
            "    else",
            "        call DisplayTextToPlayer(GetLocalPlayer(), 0, 0, \"msg wave \" + I2S(" + n + "))",
            "    endif",
            "    return",
            "endfunction",
            "",
        };
        for (const QString &line : block) {
            if (lines.size() == count)
                break;
            lines.append(line);
        }
    }
    return lines;
}

// A call of exactly `length` characters that concatenates strings and calls,
// its closing bracket not yet typed; its first string holds "//".
QString OpenCallLine(int length)
{
    QString line
        = QStringLiteral("    call DisplayTextToPlayer(GetLocalPlayer(), 0, 0, \"msg // not a comment\"");
    for (int n = 0;; ++n) {
        const QString piece = QStringLiteral(" + I2S(%1) + \"msg %1\"").arg(n);
        if (line.size() + piece.size() + 5 > length)
            break;
        line += piece;
    }
    const qsizetype fill = length - line.size() - 5;
    return line + QStringLiteral(" + \"") + QString(fill, u'w') + u'"';
}

// The lines a merge of `big` and a small script gives, and the small script:
// its global goes into a block before big's first function (line 1), its
// second copy of that function is dropped with its body, the rest follows big
// and a blank line.
QStringList SmallScript(const QStringList &big)
{
    return { "globals", "    integer Counter = 0", "endglobals", "// from the small script", big.at(1),
        "    call DoNothing()", "endfunction", "function SmallInit takes nothing returns nothing",
        "    set Counter = Counter + 1", "endfunction" };
}

QStringList MergedLines(const QStringList &big)
{
    return big.first(1) + QStringList { "globals", "    integer Counter = 0", "endglobals" } + big.sliced(1)
        + QStringList { "", "// from the small script", "function SmallInit takes nothing returns nothing",
              "    set Counter = Counter + 1", "endfunction", "" };
}

QByteArray FileBytes(const QStringList &lines)
{
    return (lines.join(QLatin1String("\r\n")) + QLatin1String("\r\n")).toLatin1();
}

// The program started in a scratch folder with the small language files.
class SizeSession : public ProgramSession {
public:
    SizeSession()
    {
        SeedLanguageFiles(Work.path());
        Start();
    }
};

bool HasClass(const TextAttributes &attributes, const TSyntaxType &type)
{
    return attributes.color == type.Color && attributes.style == type.Style;
}

// Whether a line shows `color` at a column once painted with the view
// scrolled to `scroll`: the most inked pixel of the character's cell has the
// colour's hue, whatever the smoothing of the glyph made of its strength.
bool ShowsColor(TSyntaxEdit &edit, int line, int column, int scroll, const QColor &color)
{
    edit.horizontalScrollBar()->setValue(scroll);
    const QImage image = edit.viewport()->grab().toImage();
    const int at = edit.lineIndex(line) + column;
    const QRect cell = edit.positionRect(at).united(edit.positionRect(at + 1)) & image.rect();
    const QColor paper = edit.palette().color(QPalette::Base);
    auto ink = [&](const QColor &c) {
        return QVector3D(paper.red() - c.red(), paper.green() - c.green(), paper.blue() - c.blue());
    };
    QVector3D most;
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
        for (int x = cell.left(); x < cell.right(); ++x) {
            const QVector3D here = ink(image.pixelColor(x, y));
            if (here.length() > most.length())
                most = here;
        }
    }
    return most.length() > 0 && QVector3D::dotProduct(most.normalized(), ink(color).normalized()) > 0.98f;
}

// The rows: a script of many lines, and one whose single long line is
// between ordinary ones. `edit` is the line typed into, an open call.
void AddSizeRows()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("edit");
    QStringList many = MixedScript(200000);
    many[100000] = OpenCallLine(120);
    QTest::newRow("200,000 lines") << many << 100000;
    QStringList longLine = MixedScript(40);
    longLine.insert(20, OpenCallLine(100000));
    QTest::newRow("100,000-character line") << longLine << 20;
}

} // namespace

class SizeTest : public QObject {
    Q_OBJECT

private slots:
    void openEditCheckSave_data() { AddSizeRows(); }
    void openEditCheckSave()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, edit);
        SizeSession s;
        TMainForm &form = s.Form();
        TSyntaxEdit &editbox = *form.Editbox;
        const QString path = s.Work.filePath("big.j");
        QVERIFY(WriteAll(path, FileBytes(lines)));
        s.Dialogs.OpenAnswers = { path };
        form.Open1->trigger();
        QCOMPARE(s.Dialogs.Kinds(), QStringList { "open" });

        // Every line arrived whole and coloured, the end of the long one too.
        QCOMPARE(editbox.lineCount(), lines.size());
        QCOMPARE(editbox.line(0), lines.first());
        QCOMPARE(editbox.line(edit), lines.at(edit));
        QCOMPARE(editbox.line(int(lines.size()) - 1), lines.last());
        QVERIFY(editbox.lines() == lines);
        const TSyntaxType &string = *editbox.Builtins().String;
        const int editStart = editbox.lineIndex(edit);
        QVERIFY(HasClass(editbox.attributesAt(editStart + int(lines.at(edit).size()) - 2), string));

        // A letter inside a string in the middle of the line, and the closing
        // bracket at its end, which marks the call's opening one.
        const int middle = int(lines.at(edit).indexOf(QLatin1String("\"msg"), lines.at(edit).size() / 2)) + 1;
        QVERIFY(middle > 0);
        editbox.setSelStart(editStart + middle);
        QTest::keyClick(&editbox, 'x');
        editbox.setSelStart(editStart + int(lines.at(edit).size()) + 1);
        QTest::keyClick(&editbox, ')');
        QString edited = lines.at(edit);
        edited.insert(middle, u'x');
        edited.append(u')');
        QCOMPARE(editbox.line(edit), edited);
        QCOMPARE(editbox.lineCount(), lines.size());
        QVERIFY(form.State.Modified);
        QVERIFY(HasClass(editbox.attributesAt(editStart + middle), string));
        const int end = editStart + int(edited.size()) - 1;
        QVERIFY(HasClass(editbox.attributesAt(end), *editbox.Builtins().Bracket));
        const int opening = editStart + int(edited.indexOf(u'('));
        QCOMPARE(editbox.matchPosition(), opening);
        QVERIFY(HasClass(editbox.attributesAt(opening), *editbox.Builtins().Match));
        // Shown coloured wherever the view is scrolled along the line.
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        const QColor stringColor = ColorFromValue(string.Color, editbox.palette());
        QScrollBar &scroll = *editbox.horizontalScrollBar();
        QVERIFY(ShowsColor(editbox, edit, int(edited.size()) - 2, scroll.maximum(), stringColor));
        QVERIFY(ShowsColor(editbox, edit, middle, scroll.maximum() / 2, stringColor));
        QVERIFY(ShowsColor(editbox, edit, int(edited.indexOf(u'"')), 0, stringColor));

        // The check reads every line: the script passes, a fault on its last
        // line is found there.
        form.SyntaxCheck1->trigger();
        QCOMPARE(form.HelpEdit->text(), NoErrorsMessage());
        QStringList faulty = editbox.lines();
        faulty.last() = QStringLiteral("endif x");
        QCOMPARE(CheckSyntax(faulty).line, faulty.size() - 1);

        QStringList saved = lines;
        saved[edit] = edited;
        form.Save1->trigger();
        QCOMPARE(s.Dialogs.Kinds(), QStringList { "open" });
        QVERIFY(ReadAll(path) == FileBytes(saved));
        QVERIFY(!form.State.Modified);
    }

    void merge_data() { AddSizeRows(); }
    void merge()
    {
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        const QString big = dir.filePath("big.j");
        const QString small = dir.filePath("small.j");
        QVERIFY(WriteAll(big, FileBytes(lines)));
        QVERIFY(WriteAll(small, FileBytes(SmallScript(lines))));
        const QByteArray expected = FileBytes(MergedLines(lines));

        const MergeResult result = MergeFiles({ big, small }, dir.filePath("merged.j"));
        QVERIFY2(result.Succeeded(), qPrintable(result.error));
        QVERIFY(ReadAll(dir.filePath("merged.j")) == expected);

        const CliRun run = RunCliCaptured({ "merge", "-o", dir.filePath("cli.j"), big, small });
        QCOMPARE(run.status, 0);
        QVERIFY(ReadAll(dir.filePath("cli.j")) == expected);
    }
};

TOLVANE_TEST(SizeTest);
#include "SizeTest.moc"
