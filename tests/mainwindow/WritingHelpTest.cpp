#include "ProgramSession.h"
#include "TestRegistry.h"

#include "mainwindow/EditorHelp.h"

#include <QLabel>
#include <QListWidget>
#include <QTest>

namespace {

// The program on the explorer's language files: GetLoc, GetUnitX, AbcDef...
class HelpSession : public ProgramSession {
public:
    HelpSession()
    {
        const QDir data(QStringLiteral(TOLVANE_TEST_DATA_DIR "/explorer"));
        for (const QString &name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), Work.filePath(name));
        Start();
        Form().Editbox->setFocus();
    }

    // Types `keys` as a user would; "\t" is Tab, "\r" Enter, "\x1b" Escape,
    // "↓" Down.
    void Type(const QString &keys)
    {
        for (const QChar c : keys) {
            if (c == u'\t' || c == u'\r' || c == u'\x1b' || c == u'↓')
                QTest::keyClick(&Editbox(),
                    c == u'\t'       ? Qt::Key_Tab
                        : c == u'\r' ? Qt::Key_Return
                        : c == u'↓'  ? Qt::Key_Down
                                     : Qt::Key_Escape);
            else
                QTest::keyClicks(&Editbox(), QString(c));
        }
    }

    QStringList Listed() const
    {
        QStringList names;
        const EditorHelp &help = *program.MainForm->WritingHelper;
        for (int i = 0; help.CompletionOpen() && i < help.CompletionList->count() && i < 2; ++i)
            names << help.CompletionList->item(i)->text();
        return names;
    }

    // What Save writes, once the document has a name.
    QByteArray Saved()
    {
        Dialogs.SaveAnswers = { WorkFile("typed.j") };
        Form().Save1Click();
        QFile file(WorkFile("typed.j"));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(not saved)");
    }
};

QPoint PointOf(TSyntaxEdit &editor, int line, int column)
{
    return editor.positionRect(editor.lineIndex(line) + column).center();
}

} // namespace

class WritingHelpTest : public QObject {
    Q_OBJECT

private slots:
    void completion_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QStringList>("listed"); // the first two entries, when open
        QTest::addColumn<QString>("saved"); // without the last line break
        QTest::newRow("Ge") << "Ge" << QStringList { "GetLoc", "GetUnitX" } << "Ge";
        QTest::newRow("GetU filters") << "GetU" << QStringList { "GetUnitX" } << "GetU";
        QTest::newRow("Ge, Tab") << "Ge\t" << QStringList {} << "GetLoc";
        QTest::newRow("ab, Enter breaks the line") << "    ab\r" << QStringList {} << "    ab\r\n    ";
        QTest::newRow("ab, Down, Enter inserts") << "    ab↓\r" << QStringList {} << "    abcx";
        QTest::newRow("local integer Ge") << "local integer Ge" << QStringList {} << "local integer Ge";
        QTest::newRow("takes integer Ge")
            << "function F takes integer Ge" << QStringList {} << "function F takes integer Ge";
        QTest::newRow("Ab, Escape, Enter indents") << "    Ab\x1b\r" << QStringList {} << "    Ab\r\n    ";
        QTest::newRow("Ge, Escape") << "Ge\x1b" << QStringList {} << "Ge";
        QTest::newRow("Ge, space") << "Ge " << QStringList {} << "Ge ";
        QTest::newRow("in a comment") << "// Ge" << QStringList {} << "// Ge";
        QTest::newRow("in a string") << "\"Ge" << QStringList {} << "\"Ge";
    }
    void completion()
    {
        QFETCH(QString, keys);
        QFETCH(QStringList, listed);
        QFETCH(QString, saved);
        HelpSession s;
        s.Type(keys);
        QCOMPARE(s.Listed(), listed);
        QCOMPARE(s.Saved(), saved.toLatin1() + "\r\n");
    }

    // Once an analysis counts as slow, the next goes to the background: the
    // tip of a function declared since shows when it is done, and the list
    // is refilled.
    void slowScriptIsAnalysedInTheBackground()
    {
        HelpSession s;
        EditorHelp &help = *s.Form().WritingHelper;
        help.SlowAnalysisMs = -1;
        s.Type("function Foo takes integer a returns nothing\rendfunction\rcall Foo(");
        QVERIFY(help.TipOpen());
        s.Type("1)\rfunction Bar takes real b returns nothing\rendfunction\rcall Bar(");
        QVERIFY(!help.TipOpen()); // the result comes back through the event loop
        QTRY_VERIFY(help.TipOpen());
        QVERIFY(help.CallTip->text().contains("<b>real b</b>"));
    }

    // A line separator inside a line (pasted, say) breaks no line for the
    // analysis either: the jump lands on the editor's line.
    void jumpCountsTheEditorsLines()
    {
        HelpSession s;
        s.Editbox().setText(QStringLiteral(
            "// a\u2028b\nfunction Foo takes nothing returns nothing\nendfunction\ncall Foo()"));
        s.Editbox().setSelStart(s.Editbox().lineIndex(3) + 6);
        QTest::keyClick(&s.Editbox(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(s.Editbox().selText(), s.Editbox().line(1));
    }

    // "." lists the members of a struct another file of the folder declares;
    // Ctrl+click on the struct opens that file, Alt+Left the script again.
    void membersAndTheFolder()
    {
        HelpSession s;
        QFile base(s.WorkFile("base.j"));
        QVERIFY(base.open(QIODevice::WriteOnly));
        base.write("library Base\nstruct Node\ninteger value\nreal weight\nendstruct\nendlibrary\n");
        base.close();
        s.Type("library Main requires Base\rfunction F takes nothing returns nothing\rlocal Node n = "
               "0\r\rendfunction\rendlibrary");
        s.Saved();
        s.Editbox().setSelStart(s.Editbox().lineIndex(3));
        // The list waits for an analysis in the background.
        s.Form().WritingHelper->SlowAnalysisMs = -1;
        s.Type("set n.");
        QTRY_COMPARE(s.Listed(), QStringList({ "destroy", "getType" }));
        s.Type("w\t");
        QCOMPARE(s.Editbox().line(3), "set n.weight");
        s.Saved();
        QTest::mouseClick(
            s.Editbox().viewport(), Qt::LeftButton, Qt::ControlModifier, PointOf(s.Editbox(), 2, 7));
        QCOMPARE(QFileInfo(s.Form().State.FileName).fileName(), "base.j");
        QCOMPARE(s.Editbox().selText(), "struct Node");
        QTest::keyClick(&s.Editbox(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(QFileInfo(s.Form().State.FileName).fileName(), "typed.j");
        QCOMPARE(s.Editbox().selStart(), s.Editbox().lineIndex(3) + 12);
    }

    void callTipAndJump()
    {
        HelpSession s;
        TMainForm &form = s.Form();
        const EditorHelp &help = *form.WritingHelper;
        s.Type("function Foo takes integer a, real b returns nothing\rendfunction\rcall Foo(");
        QVERIFY(help.TipOpen());
        QVERIFY(help.CallTip->text().contains("<b>integer a</b>"));
        s.Type("1, ");
        QVERIFY(help.CallTip->text().contains("<b>real b</b>"));
        s.Type("\x1b");
        QVERIFY(!help.TipOpen());
        QTest::keyClick(&s.Editbox(), Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(help.CallTip->text().contains("<b>real b</b>"));
        s.Type("2.)");
        QVERIFY(!help.TipOpen());
        const int end = s.Editbox().selStart();

        QTest::mouseClick(
            s.Editbox().viewport(), Qt::LeftButton, Qt::ControlModifier, PointOf(s.Editbox(), 2, 6));
        QCOMPARE(s.Editbox().selStart(), 0);
        QCOMPARE(s.Editbox().selText(), s.Editbox().line(0));
        QTest::keyClick(&s.Editbox(), Qt::Key_Left, Qt::AltModifier);
        QCOMPARE(s.Editbox().selStart(), end);

        s.Type("\rcall GetUnitX");
        QTest::keyClick(&s.Editbox(), Qt::Key_Return, Qt::ControlModifier);
        QCOMPARE(form.HelpEdit->text(), "GetUnitX takes unit whichUnit returns real");
        s.Type("\x1b");
        QCOMPARE(s.Saved(),
            "function Foo takes integer a, real b returns nothing\r\nendfunction\r\ncall Foo(1, 2.)\r\ncall "
            "GetUnitX\r\n");

        // The gutter sits beside the text and grows with the line count.
        const auto gutter
            = [&] { return int(s.Editbox().SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0UL)); };
        QTRY_VERIFY(gutter() > 0);
        const int narrow = gutter();
        s.Editbox().setText(QString(1000, u'\n'));
        QTRY_VERIFY(gutter() > narrow);
        // And shrinks again when an edit takes the lines away.
        s.Editbox().select(0, s.Editbox().textLength());
        s.Editbox().replaceSelection(QStringLiteral("x"));
        QTRY_COMPARE(gutter(), narrow);

        // A declaration wider than the window wraps inside it.
        QStringList parameters;
        for (int i = 0; i < 24; ++i)
            parameters.append(QStringLiteral("integer parameter%1").arg(i));
        s.Type(
            "\rfunction Long takes " + parameters.join(", ") + " returns nothing\rendfunction\rcall Long(");
        QVERIFY(help.TipOpen());
        QVERIFY(form.rect().contains(help.CallTip->geometry()));
    }
};

TOLVANE_TEST(WritingHelpTest);
#include "WritingHelpTest.moc"
