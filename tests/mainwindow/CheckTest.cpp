#include "ProgramSession.h"
#include "TestFiles.h"
#include "TestRegistry.h"

#include "analysis/Analysis.h"
#include "mainwindow/ProblemsPanel.h"
#include "mainwindow/ScriptCheck.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QTreeView>

namespace {

const QByteArray kCommon = "type unit extends handle\n"
                           "native KillUnit takes unit whichUnit returns nothing\n"
                           "native GetUnitX takes unit whichUnit returns real\n";
const QByteArray kCommonAi = "native GetAiPlayer takes nothing returns integer\n";

// Two mistakes on lines 2 and 3, and a call only AI scripts may make.
const QString kMistakes = QStringLiteral("function F takes unit u returns nothing\r\n"
                                         "    call KillUnit(1)\r\n"
                                         "    set y = GetUnitX(u)\r\n"
                                         "endfunction");

Analysis::Api ApiOf(const QByteArray &declarations)
{
    Analysis::Api api = Analysis::PrimitiveApi();
    Analysis::Append(api, Analysis::Analyse({ { "api", declarations } }, api).declared);
    return api;
}

// The program with the test's language files and an API of three
// declarations (and one more for AI scripts) beside them.
class CheckSession : public ProgramSession {
public:
    CheckSession()
    {
        SeedLanguageFiles(Work.path());
        WriteAll(Work.filePath("Api.txt"), Analysis::WriteApi(ApiOf(kCommon)));
        WriteAll(Work.filePath("AIApi.txt"), Analysis::WriteApi(ApiOf(kCommon + kCommonAi)));
        Start();
        // The checks while typing run here, their results arrive as events.
        Form().LiveChecker().SetRunner([](std::function<void()> job) { job(); });
    }

    QStringList Rows()
    {
        QStringList rows;
        const QAbstractItemModel *model = Form().Problems->List()->model();
        for (int row = 0; row < model->rowCount(); ++row)
            rows.append(
                model->index(row, 0).data().toString() + u' ' + model->index(row, 1).data().toString());
        return rows;
    }
    QString Summary() { return Form().Problems->findChild<QLabel *>("ProblemsSummary")->text(); }
};

// What the list shows for the analysis of `text`: "line:column message".
QStringList ExpectedRows(const QString &text, const QByteArray &api)
{
    QStringList rows;
    for (const Analysis::Diagnostic &d :
        Analysis::Analyse({ { "", text.toLatin1() } }, ApiOf(api)).diagnostics)
        rows.append(QStringLiteral("%1:%2 %3").arg(d.line).arg(d.column).arg(d.message));
    return rows;
}

} // namespace

class CheckTest : public QObject {
    Q_OBJECT

private slots:
    void summary_data()
    {
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("warnings");
        QTest::addColumn<QString>("summary");
        QTest::newRow("none") << 0 << 0 << "No problems found";
        QTest::newRow("3 errors, 1 warning") << 3 << 1 << "3 errors, 1 warning";
        QTest::newRow("1 error") << 1 << 0 << "1 error";
        QTest::newRow("2 warnings") << 0 << 2 << "2 warnings";
    }
    void summary()
    {
        QFETCH(int, errors);
        QFETCH(int, warnings);
        QTEST(ScriptCheck::Summary(errors, warnings), "summary");
    }

    void columnsCountCharacters_data()
    {
        QTest::addColumn<bool>("utf8");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("length");
        // The diagnostic covers the bytes of "x" after a string of "é" twice.
        QTest::newRow("code page 1252") << false << 11 << 1;
        QTest::newRow("UTF-8, two bytes a letter") << true << 13 << 1;
    }
    void columnsCountCharacters()
    {
        QFETCH(bool, utf8);
        QFETCH(int, column);
        QFETCH(int, length);
        const QString line = QStringLiteral("s = \"\u00e9\u00e9\" + x");
        Analysis::Diagnostic d;
        d.column = column + 1;
        d.length = length;
        const std::vector<TextMarks::Mark> marks = ScriptCheck::MarksOf(
            { d }, [&](int) { return line; }, utf8);
        QCOMPARE(line.mid(marks.at(0).column, marks.at(0).length), QStringLiteral("x"));
    }

    void checkScript_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("api");
        QTest::addColumn<int>("problems");
        QTest::newRow("two mistakes") << "" << kMistakes << kCommon << 2;
        QTest::newRow("no mistakes") << ""
                                     << "native N takes nothing returns nothing" << kCommon << 0;
        const QString ai
            = "function A takes nothing returns integer\r\n    return GetAiPlayer()\r\nendfunction";
        QTest::newRow("an AI native in a .j file") << "w.j" << ai << kCommon << 1;
        QTest::newRow("an AI native in a .ai file") << "w.ai" << ai << (kCommon + kCommonAi) << 0;
    }
    void checkScript()
    {
        QFETCH(QString, fileName);
        QFETCH(QString, text);
        QFETCH(QByteArray, api);
        QFETCH(int, problems);
        CheckSession s;
        TMainForm &form = s.Form();
        QVERIFY(form.Problems->isHidden());
        form.Editbox->setText(text);
        form.State.FileName = fileName.isEmpty() ? QString() : s.WorkFile(fileName);
        form.FunctionSearch->setFocus();

        QCOMPARE(form.CheckScript1->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
        QCOMPARE(form.ToolBar1->findChild<QWidget *>("ToolButton13")->toolTip(), "Check Script (Shift+F5)");
        form.CheckScript1->trigger();
        const QStringList expected = ExpectedRows(text, api);
        QCOMPARE(expected.size(), problems);
        QCOMPARE(s.Rows(), expected);
        QCOMPARE(s.Summary(), ScriptCheck::Summary(problems, 0));
        QVERIFY(form.Problems->isVisible());
        QCOMPARE(form.focusWidget(), form.Editbox);
        QCOMPARE(form.Editbox->Marks().Marks().All().size(), size_t(problems));
        if (problems > 0) {
            // The first mark's message shows over its range.
            const TextMarks::Mark &mark = form.Editbox->Marks().Marks().All().front();
            const int at = form.Editbox->lineIndex(mark.line) + mark.column;
            const QPoint point = form.Editbox->positionRect(at).center() + QPoint(2, 0);
            QCOMPARE(form.Editbox->Marks().MessageAt(point), mark.message);
        }
    }

    // A vJASS library is checked with the libraries of its folder; the mark is at its mistake.
    void vjassWithItsFolder()
    {
        CheckSession s;
        TMainForm &form = s.Form();
        QVERIFY(QDir(s.Work.path()).mkpath("libs"));
        QVERIFY(WriteAll(s.WorkFile("libs/a.j"),
            "library A\nfunction FA takes nothing returns nothing\nendfunction\nendlibrary\n"));
        form.Editbox->setText("library Main requires A\nfunction F takes nothing returns nothing\n"
                              "    call FA()\n    call FB()\nendfunction\nendlibrary");
        form.State.FileName = s.WorkFile("main.j");
        form.CheckScript1->trigger();
        QCOMPARE(s.Rows(), QStringList { "4:10 'FB' is not declared" });
        QCOMPARE(form.Editbox->Marks().Marks().All().front().line, 3);
    }

    void activationAndF8()
    {
        CheckSession s;
        TMainForm &form = s.Form();
        form.Editbox->setText(kMistakes);
        form.CheckScript1->trigger();
        const std::vector<TextMarks::Mark> marks = form.Editbox->Marks().Marks().All();
        QCOMPARE(marks.size(), size_t(2));
        const auto startOf
            = [&](size_t i) { return form.Editbox->lineIndex(marks[i].line) + marks[i].column; };

        // Enter on the second row selects its range and hands the focus back.
        QTreeView *list = form.Problems->List();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(form.Editbox->selStart(), startOf(1));
        QCOMPARE(form.Editbox->selLength(), marks[1].length);
        QCOMPARE(form.focusWidget(), form.Editbox);
        QCOMPARE(form.StatusPanel->text(), form.PositionText());

        // F8 from the start goes down and wraps; Shift+F8 goes up and wraps.
        QCOMPARE(form.NextProblem1->shortcut(), QKeySequence(Qt::Key_F8));
        QCOMPARE(form.PreviousProblem1->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F8));
        form.Editbox->setSelStart(0);
        QList<int> order;
        for (int i = 0; i < 3; ++i) {
            form.NextProblem1->trigger();
            order.append(form.Editbox->selStart());
        }
        QCOMPARE(order, (QList<int> { startOf(0), startOf(1), startOf(0) }));
        order.clear();
        for (int i = 0; i < 3; ++i) {
            form.PreviousProblem1->trigger();
            order.append(form.Editbox->selStart());
        }
        QCOMPARE(order, (QList<int> { startOf(1), startOf(0), startOf(1) }));
    }

    void marksAreNotPartOfTheText()
    {
        CheckSession s;
        TMainForm &form = s.Form();
        const QByteArray bytes = kMistakes.toLatin1() + "\r\n";
        QVERIFY(WriteAll(s.WorkFile("m.j"), bytes));
        s.Dialogs.OpenAnswers = { s.WorkFile("m.j") };
        form.Open1->trigger();
        const QByteArray rtf = form.Editbox->rtf();
        QSignalSpy changes(form.Editbox, &TRichEdit::OnChange);
        QSignalSpy selections(form.Editbox, &TRichEdit::OnSelectionChange);

        form.CheckScript1->trigger();
        QVERIFY(!form.Editbox->Marks().Marks().IsEmpty());
        QVERIFY(!form.State.Modified);
        QVERIFY(!form.Editbox->isUndoAvailable());
        QCOMPARE(changes.size(), 0);
        QCOMPARE(selections.size(), 0);
        QCOMPARE(form.Editbox->rtf(), rtf);
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.Editbox->viewport()->repaint(); // drawn, and still nothing changed
        QVERIFY(!form.Editbox->isUndoAvailable());
        form.Save1->trigger();
        QCOMPARE(ReadAll(s.WorkFile("m.j")), bytes);
    }

    void liveCheckFollowsTyping()
    {
        CheckSession s;
        TMainForm &form = s.Form();
        form.Editbox->setText(kMistakes);
        form.Editbox->setSelStart(0);
        QTest::keyClick(form.Editbox, Qt::Key_A);
        QVERIFY(!form.LiveChecker().IsWaiting()); // off until the first check
        form.Editbox->setText(kMistakes);

        form.CheckScript1->trigger();
        const QStringList before = s.Rows();
        // A line typed above moves the list and the marks down at once.
        form.Editbox->setSelStart(0);
        QTest::keyClick(form.Editbox, Qt::Key_Return);
        QCOMPARE(s.Rows().first(), QString(before.first()).replace(0, 1, "3"));
        QVERIFY(form.LiveChecker().IsWaiting());
        // Typing on the marked line takes its mark away; the check after the
        // pause gives what is left.
        form.Editbox->select(form.Editbox->lineIndex(2) + 18, 1);
        QTest::keyClicks(form.Editbox, "u");
        QCOMPARE(s.Rows().size(), 1);
        form.LiveChecker().PauseEnded();
        QCoreApplication::processEvents();
        QCOMPARE(s.Rows(), ExpectedRows(form.Editbox->text(), kCommon));
        QCOMPARE(s.Rows().size(), 1);

        form.State.Modified = false;
        form.New1->trigger();
        QVERIFY(form.Problems->isHidden());
        QVERIFY(form.Editbox->Marks().Marks().IsEmpty());
        QVERIFY(!form.LiveChecker().IsOn());
    }

    void staleResultIsThrownAway()
    {
        int snapshots = 0;
        LiveCheck check([&snapshots] {
            const int taken = ++snapshots;
            return [taken] {
                Analysis::Diagnostic d;
                d.line = taken;
                return QList<Analysis::Diagnostic> { d };
            };
        });
        std::function<void()> held;
        check.SetRunner([&held](std::function<void()> job) { held = std::move(job); });
        QSignalSpy checked(&check, &LiveCheck::Checked);
        check.Start();
        check.TextChanged();
        QVERIFY(check.IsWaiting());
        check.PauseEnded();
        check.TextChanged(); // typed while the first check runs
        held();
        QCoreApplication::processEvents();
        QCOMPARE(checked.size(), 0);
        check.PauseEnded();
        held();
        QCoreApplication::processEvents();
        QCOMPARE(checked.size(), 1);
        QCOMPARE(checked.at(0).at(0).value<QList<Analysis::Diagnostic>>().at(0).line, 2);
    }
};

TOLVANE_TEST(CheckTest);
#include "CheckTest.moc"
