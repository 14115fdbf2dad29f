#include "TestRegistry.h"

#include "editor/SyntaxEdit.h"
#include "mainwindow/FindDialogs.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// The main window in an empty folder of its own, its dialogs answered from a
// script.
class FindSession {
public:
    FindSession()
        : m_oldCurrent(QDir::currentPath())
    {
        QDir::setCurrent(Work.path());
        Form = std::make_unique<TMainForm>(Dialogs, Work.path(), Work.path());
        Form->show();
    }
    ~FindSession()
    {
        Form.reset();
        QDir::setCurrent(m_oldCurrent);
    }
    FindSession(const FindSession &) = delete;
    FindSession &operator=(const FindSession &) = delete;

    TSyntaxEdit &Editbox() { return *Form->Editbox; }

    // Presses Find Next in the active dialog; the start of the selected match,
    // or -1 for the not-found message. A match leaves the main window active
    // and the editor focused, where it shows.
    int FindNext(FindReplaceDialog &dialog, const QString &what)
    {
        dialog.setFindText(what);
        dialog.Execute();
        if (!QTest::qWaitForWindowActive(&dialog))
            return -4;
        const qsizetype shown = Dialogs.History.size();
        dialog.FindNextButton->click();
        if (Dialogs.History.size() > shown) {
            if (Dialogs.Messages().constLast() != u'"' + what + QStringLiteral("\" was not found!"))
                return -2;
            return -1;
        }
        if (!QTest::qWaitFor([this] { return QApplication::focusWidget() == Form->Editbox; }))
            return -4;
        return Editbox().selLength() == what.size() ? Editbox().selStart() : -3;
    }

    QTemporaryDir Work;
    ScriptedDialogService Dialogs;
    std::unique_ptr<TMainForm> Form;

private:
    QString m_oldCurrent;
};

} // namespace

class FindTest : public QObject {
    Q_OBJECT

private slots:
    void menuCommandsShowTheirOwnDialog()
    {
        FindSession s;
        s.Form->Find1->trigger();
        QVERIFY(s.Form->FindDialog1->isVisible());
        QVERIFY(!s.Form->ReplaceDialog1->isVisible());
        s.Form->FindandReplace1->trigger();
        QVERIFY(s.Form->ReplaceDialog1->isVisible());
        QVERIFY(!s.Form->FindDialog1->isModal());
    }

    void findNext_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QList<int>>("found"); // one press each; -1: the message

        QTest::newRow("abc abc, four presses") << "abc abc"
                                               << "abc" << false << false << QList<int> { 0, 4, -1, 0 };
        QTest::newRow("ABC abc, case ignored") << "ABC abc"
                                               << "abc" << false << false << QList<int> { 0, 4, -1 };
        QTest::newRow("ABC abc, match case") << "ABC abc"
                                             << "abc" << false << true << QList<int> { 4, -1 };
        QTest::newRow("abcd abc_ abc, whole word") << "abcd abc_ abc"
                                                   << "abc" << true << false << QList<int> { 10, -1, 10 };
        QTest::newRow("across lines counts CR LF as two")
            << "x\r\nab\nab"
            << "ab" << false << false << QList<int> { 3, 7, -1 };
        QTest::newRow("not there") << "abc"
                                   << "x" << false << false << QList<int> { -1, -1 };
    }

    void findNext()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(bool, wholeWord);
        QFETCH(bool, matchCase);
        QFETCH(QList<int>, found);
        FindSession s;
        s.Editbox().setText(text);
        s.Form->FindDialog1->WholeWord->setChecked(wholeWord);
        s.Form->FindDialog1->MatchCase->setChecked(matchCase);
        QList<int> got;
        for (qsizetype i = 0; i < found.size(); ++i)
            got.append(s.FindNext(*s.Form->FindDialog1, what));
        QCOMPARE(got, found);
    }

    void findGoesOnAfterThePreviousMatchNotAtTheCaret()
    {
        FindSession s;
        s.Editbox().setText("abc xyz abc xyz abc");
        FindReplaceDialog &find = *s.Form->FindDialog1;
        QCOMPARE(s.FindNext(find, "xyz"), 4);
        s.Editbox().setSelStart(0);
        QCOMPARE(s.FindNext(find, "xyz"), 12);
    }

    void onlyANewTextRestartsTheSearch()
    {
        FindSession s;
        s.Editbox().setText("abc Abc abc");
        FindReplaceDialog &find = *s.Form->FindDialog1;
        QCOMPARE(s.FindNext(find, "abc"), 0);
        QCOMPARE(s.FindNext(find, "Abc"), 0); // differs in case: from the top
        find.MatchCase->setChecked(true);
        QCOMPARE(s.FindNext(find, "Abc"), 4); // an option alone goes on
    }

    void theTwoDialogsKeepTheirOwnPlace()
    {
        FindSession s;
        s.Editbox().setText("abc abc abc");
        QCOMPARE(s.FindNext(*s.Form->FindDialog1, "abc"), 0);
        QCOMPARE(s.FindNext(*s.Form->ReplaceDialog1, "abc"), 0);
        QCOMPARE(s.FindNext(*s.Form->ReplaceDialog1, "abc"), 4);
        QCOMPARE(s.FindNext(*s.Form->FindDialog1, "abc"), 4);
    }

    void aPlaceLeftBeyondTheShortenedTextFindsNothingThenStartsOver()
    {
        FindSession s;
        s.Editbox().setText("abc abc abc");
        FindReplaceDialog &find = *s.Form->FindDialog1;
        QCOMPARE(s.FindNext(find, "abc"), 0);
        QCOMPARE(s.FindNext(find, "abc"), 4);
        QCOMPARE(s.FindNext(find, "abc"), 8);
        s.Editbox().setText("abc");
        QCOMPARE(s.FindNext(find, "abc"), -1);
        QCOMPARE(s.FindNext(find, "abc"), 0);
        QCOMPARE(s.Dialogs.Kinds(), QStringList { "message" });
    }

    void replaceAll_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("with");
        QTest::addColumn<bool>("wholeWord");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<QString>("expected"); // empty: the not-found message

        QTest::newRow("ab ab: ab by abc") << "ab ab"
                                          << "ab"
                                          << "abc" << false << false << "abc abc";
        QTest::newRow("ab ab ab: ab by x") << "ab ab ab"
                                           << "ab"
                                           << "x" << false << false << "x x x";
        QTest::newRow("a a: a by aa") << "a a"
                                      << "a"
                                      << "aa" << false << false << "aa aa";
        QTest::newRow("aaa: a by nothing") << "aaa"
                                           << "a"
                                           << "" << false << false << "";
        QTest::newRow("AB ab, case ignored") << "AB ab"
                                             << "ab"
                                             << "x" << false << false << "x x";
        QTest::newRow("AB ab, match case") << "AB ab"
                                           << "ab"
                                           << "x" << false << true << "AB x";
        QTest::newRow("abc ab ab_, whole word") << "abc ab ab_"
                                                << "ab"
                                                << "x" << true << false << "abc x ab_";
        // The second "-" follows the first one's replacement, a word character.
        QTest::newRow("--: - by a, whole word") << "--"
                                                << "-"
                                                << "a" << true << false << "a-";
        QTest::newRow("over lines") << "ab\r\nab\r\n\r\nab"
                                    << "ab"
                                    << "x" << false << false << "x\nx\n\nx";
        QTest::newRow("not there") << "abc"
                                   << "x"
                                   << "y" << false << false << QString();
    }

    void replaceAll()
    {
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(QString, with);
        QFETCH(bool, wholeWord);
        QFETCH(bool, matchCase);
        QFETCH(QString, expected);
        FindSession s;
        s.Editbox().setText(text);
        s.Form->State.Modified = false;
        FindReplaceDialog &replace = *s.Form->ReplaceDialog1;
        replace.setFindText(what);
        replace.setReplaceText(with);
        replace.WholeWord->setChecked(wholeWord);
        replace.MatchCase->setChecked(matchCase);
        replace.ReplaceAllButton->click();
        if (expected.isNull()) {
            QCOMPARE(s.Dialogs.Messages(), QStringList { u'"' + what + QStringLiteral("\" was not found!") });
            QCOMPARE(s.Editbox().text(), text);
            QCOMPARE(s.Form->State.Modified, false);
            return;
        }
        QCOMPARE(s.Dialogs.History.size(), 0);
        QCOMPARE(s.Editbox().lines().join(u'\n'), expected);
        QCOMPARE(s.Form->State.Modified, true);
        QCOMPARE(replace.State.Position, 0); // the find state is not touched
        s.Editbox().undo();
        QCOMPARE(s.Editbox().text(), text); // one step takes it all back
    }

    void replaceTakesOnlyTheVeryText_data()
    {
        QTest::addColumn<int>("length"); // of the selection, from the start
        QTest::addColumn<QString>("expected");

        QTest::newRow("Abc selected") << 3 << "x abc";
        QTest::newRow("nothing selected") << 0 << "Abc abc";
        QTest::newRow("Ab selected") << 2 << "Abc abc";
    }

    void replaceTakesOnlyTheVeryText()
    {
        QFETCH(int, length);
        QFETCH(QString, expected);
        FindSession s;
        s.Editbox().setText("Abc abc");
        FindReplaceDialog &replace = *s.Form->ReplaceDialog1;
        replace.setReplaceText("x");
        s.Editbox().select(0, length);
        // A selection that differs in case is left alone, match case or not.
        replace.setFindText("abc");
        replace.ReplaceButton->click();
        replace.setFindText("Abc");
        replace.ReplaceButton->click();
        QCOMPARE(s.Editbox().text(), expected);
        QCOMPARE(s.Dialogs.History.size(), 0);
        QCOMPARE(replace.State.Position, 0);
    }

    void gotoLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<std::optional<QString>>("answer");
        QTest::addColumn<int>("caret"); // -1: where it was, the end of the text
        QTest::addColumn<bool>("error");

        const QString three = QStringLiteral("one\r\ntwo\r\nthree");
        QTest::newRow("0") << three << std::optional<QString>("0") << 0 << false;
        QTest::newRow("1") << three << std::optional<QString>("1") << 0 << false;
        QTest::newRow("2") << three << std::optional<QString>("2") << 5 << false;
        QTest::newRow("99") << three << std::optional<QString>("99") << 10 << false;
        QTest::newRow("2147483647") << three << std::optional<QString>("2147483647") << 10 << false;
        QTest::newRow("empty document, 5") << QString() << std::optional<QString>("5") << 0 << false;
        QTest::newRow("12a") << three << std::optional<QString>("12a") << -1 << false;
        QTest::newRow("-1") << three << std::optional<QString>("-1") << -1 << false;
        QTest::newRow(" 2") << three << std::optional<QString>(" 2") << -1 << false;
        QTest::newRow("cancelled") << three << std::optional<QString>() << -1 << false;
        QTest::newRow("empty answer") << three << std::optional<QString>("") << -1 << true;
        QTest::newRow("2147483648") << three << std::optional<QString>("2147483648") << -1 << true;
    }

    void gotoLine()
    {
        QFETCH(QString, text);
        QFETCH(std::optional<QString>, answer);
        QFETCH(int, caret);
        QFETCH(bool, error);
        FindSession s;
        s.Editbox().setText(text);
        s.Editbox().setSelStart(s.Editbox().textLength());
        s.Dialogs.InputAnswers.append(answer);
        s.Form->GotoLine1->trigger();
        QCOMPARE(s.Dialogs.History.at(0).title, QStringLiteral("Goto line"));
        QCOMPARE(s.Dialogs.History.at(0).text, QStringLiteral("Which line?"));
        QCOMPARE(s.Dialogs.Kinds(), error ? QStringList({ "input", "error" }) : QStringList { "input" });
        QCOMPARE(s.Editbox().selStart(), caret < 0 ? s.Editbox().textLength() : caret);
        QCOMPARE(s.Editbox().selLength(), 0);
    }

    // Ctrl+Shift+[ and ] at the caret; Goto Line into a folded block opens it.
    void foldKeysAndGotoLine()
    {
        FindSession s;
        s.Editbox().setText("function F takes nothing returns nothing\n    loop\n    endloop\nendfunction\n");
        s.Editbox().setSelStart(s.Editbox().lineIndex(2));
        s.Form->State.Modified = false;
        QApplication::setActiveWindow(s.Form.get());
        QVERIFY(QTest::qWaitForWindowActive(s.Form.get()));
        QTest::keyClick(s.Form->Editbox, Qt::Key_BraceLeft, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(s.Editbox().isFolded(1) && !s.Editbox().isLineShown(2));
        QTest::keyClick(s.Form->Editbox, Qt::Key_BracketLeft, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(s.Editbox().isFolded(0) && !s.Editbox().isLineShown(1));
        QVERIFY(!s.Form->State.Modified);
        QTest::keyClick(s.Form->Editbox, Qt::Key_BraceRight, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(s.Editbox().isLineShown(1) && !s.Editbox().isLineShown(2));
        s.Dialogs.InputAnswers.append(QStringLiteral("3"));
        s.Form->GotoLine1->trigger();
        QVERIFY(s.Editbox().isLineShown(2) && !s.Editbox().isFolded(1));
        QCOMPARE(s.Editbox().text(), QStringLiteral("function F takes nothing returns nothing\r\n    loop\r\n"
                                                    "    endloop\r\nendfunction\r\n"));
    }

    void templates_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length"); // of the selection
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("caret");

        QTest::newRow("function on an empty line at column 0")
            << "a\r\n\r\nb" << 3 << 0 << "NewFunction1"
            << QStringList { "a", "function  takes nothing returns nothing", "    ", "endfunction", "b" }
            << 12;
        QTest::newRow("function in an empty document")
            << "" << 0 << 0 << "NewFunction1"
            << QStringList { "function  takes nothing returns nothing", "    ", "endfunction" } << 9;
        QTest::newRow("if after two spaces")
            << "  " << 2 << 0 << "NewIf1" << QStringList { "  if (  ) then", "      ", "  endif" } << 7;
        QTest::newRow("loop after four spaces")
            << "    \r\nx" << 4 << 0 << "NewLoop1"
            << QStringList { "    loop", "        exitwhen ", "        ", "    endloop", "x" } << 27;
        QTest::newRow("loop after a tab")
            << "\t" << 1 << 0 << "NewLoop1" << QStringList { "\tloop", "    exitwhen ", "    ", "endloop" }
            << 20;
        QTest::newRow("if over a selection")
            << "  call X()\r\ny" << 2 << 8 << "NewIf1"
            << QStringList { "  if (  ) then", "      ", "  endif", "y" } << 7;
        QTest::newRow("if inside a line keeps the rest")
            << "  xy" << 3 << 0 << "NewIf1" << QStringList { "  xif (  ) then", "      ", "  endif", "y" }
            << 8;
        QTest::newRow("if over a selection ending inside a line")
            << "ab\r\ncd" << 1 << 4 << "NewIf1" << QStringList { "aif (  ) then", "    ", "endif", "d" } << 6;
    }

    void templates()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, item);
        QFETCH(QStringList, lines);
        QFETCH(int, caret);
        FindSession s;
        s.Editbox().setText(text);
        s.Editbox().select(start, length);
        QList<bool> tracking;
        connect(&s.Editbox(), &TRichEdit::OnSelectionChange, this,
            [&] { tracking.append(s.Form->State.TrackSelection); });
        s.Form->findChild<QAction *>(item)->trigger();
        QCOMPARE(s.Editbox().lines(), lines);
        QCOMPARE(s.Editbox().selStart(), caret);
        QCOMPARE(s.Editbox().selLength(), 0);
        QVERIFY(!tracking.isEmpty());
        QCOMPARE(tracking, QList<bool>(tracking.size(), false));
        QCOMPARE(s.Form->State.TrackSelection, true);
        QCOMPARE(s.Dialogs.History.size(), 0);
    }
};

TOLVANE_TEST(FindTest);
#include "FindTest.moc"
