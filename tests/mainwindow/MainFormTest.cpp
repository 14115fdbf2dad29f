#include "ProgramSession.h"
#include "FaultInjection.h"
#include "TestFiles.h"
#include "TestRegistry.h"

#include "about/About.h"
#include "app/Project1.h"
#include "editor/SyntaxEdit.h"
#include "langdata/TypeFilterMenu.h"
#include "mainwindow/FindDialogs.h"
#include "mainwindow/Main.h"
#include "merge/MergeFiles.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWheelEvent>
#include <QWindow>

namespace {

using Session = ProgramSession;

QStringList ItemTexts(const QListWidget &list)
{
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts.append(list.item(i)->text());
    return texts;
}

QStringList ScratchFiles(const QString &folder)
{
    return QDir(folder).entryList({"Temp*.rtf"}, QDir::Files);
}

QStringList ReopenCaptions(const TMainForm &form)
{
    QStringList captions;
    for (const QAction *action : form.Reopen1->actions())
        captions.append(action->data().toString());
    return captions;
}

} // namespace

class MainFormTest : public QObject
{
    Q_OBJECT

private slots:
    void startInAnEmptyFolder()
    {
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(QFile::exists(s.WorkFile("JassConfig.txt")));
        QCOMPARE(ScratchFiles(s.Work.path()), QStringList());
        QCOMPARE(form.State.Modified, false);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(form.StatusPanel->text(), QStringLiteral("1 : 1"));
        QVERIFY(!form.Reopen1->menuAction()->isEnabled());
        QCOMPARE(s.Dialogs.History.size(), 0);
        QCOMPARE(form.size(), QSize(814, 619));
    }

    void startLeavesTheUsersTempRtfAlone()
    {
        Session s;
        const QByteArray users("{\\rtf1 the user's own file}");
        QVERIFY(WriteAll(s.WorkFile("Temp.rtf"), users));
        s.Start();
        QCOMPARE(ReadAll(s.WorkFile("Temp.rtf")), users);
        QCOMPARE(ScratchFiles(s.Work.path()), QStringList{"Temp.rtf"});
        QCOMPARE(s.Dialogs.History.size(), 0);
    }

    void startWhereTheScratchFileCannotBeWrittenReportsAndGoesOn()
    {
        Session s;
        // A current folder that has been removed takes no files, whoever runs.
        QDir(s.Work.path()).mkdir("gone");
        QDir::setCurrent(s.WorkFile("gone"));
        QDir(s.Work.path()).rmdir("gone");
        TMainForm &form = s.Start();
        QCOMPARE(s.Dialogs.Kinds(), (QStringList{"error", "error"})); // configuration, then scratch file
        QVERIFY(s.Dialogs.Messages().at(1).contains("Temp.rtf"));
        QTest::keyClicks(form.Editbox, "ab");
        QCOMPARE(form.Editbox->text(), QStringLiteral("ab"));
        QCOMPARE(form.State.Modified, true);
    }

    void activationRunsOnlyOnce()
    {
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "x");
        QVERIFY(form.State.Modified);
        form.hide();
        form.show();
        QVERIFY(form.State.Modified);
    }

    void creationStopsAtAFailingStep()
    {
        Session s;
        QVERIFY(QDir(s.Work.path()).mkdir("JassConfig.txt"));
        QVERIFY(WriteAll(s.RecentFile(), "/m/a.j\r\n"));
        TMainForm &form = s.Start();
        QCOMPARE(s.Dialogs.Kinds().first(), QStringLiteral("error"));
        QVERIFY(s.Dialogs.Messages().first().contains("JassConfig.txt"));
        // Neither the caption nor the Reopen submenu came after it.
        QCOMPARE(form.windowTitle(), QString());
        QCOMPARE(ReopenCaptions(form), QStringList());
    }

    void creationLoadsTheCatalogueAndTheTypeMenu()
    {
        Session s;
        ProgramSession::SeedLanguageFiles(s.Work.path());
        TMainForm &form = s.Start();
        QCOMPARE(s.Dialogs.History.size(), 0);
        QCOMPARE(ItemTexts(*form.Functionlist),
                 (QStringList{"AbilityId", "ConvertAllianceType", "ConvertFGameState", "ConvertIGameState",
                              "ConvertRace", "ConvertRacePref", "OrderId", "UnitId"}));
        QCOMPARE(form.State.Declarations[CategoryKind::Constants].Names.size(), 4);
        QStringList others;
        for (const QAction *item : form.PopupMenu1->Other1->actions())
            others.append(item->text());
        QCOMPARE(others, (QStringList{"alliancetype", "fgamestate", "igamestate", "race", "racepreference"}));
        // The game's words are known to both editors.
        QVERIFY(form.Editbox->FindWordClass(u"ConvertRace") != form.Editbox->Builtins().Plain.get());
        QVERIFY(form.HelpEdit->FindWordClass(u"FALSE") != form.HelpEdit->Builtins().Plain.get());
    }

    void creationStopsWhenADeclarationFileCannotBeRead()
    {
        Session s;
        ProgramSession::SeedLanguageFiles(s.Work.path());
        QFile::remove(s.WorkFile("Const.txt"));
        // Listed as a file, but every read of it fails.
        QVERIFY(QFile::link("/proc/self/mem", s.WorkFile("Const.txt")));
        QVERIFY(WriteAll(s.RecentFile(), "/m/a.j\r\n"));
        TMainForm &form = s.Start();
        QCOMPARE(s.Dialogs.Kinds(), QStringList{"error"});
        QVERIFY(s.Dialogs.Messages().first().contains("Const.txt"));
        // The caption came before; functions were loaded; the type menu and
        // the Reopen submenu come after and did not run.
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(form.Functionlist->count(), 8);
        QCOMPARE(form.PopupMenu1->Other1->actions().size(), 0);
        QCOMPARE(ReopenCaptions(form), QStringList());
        s.Dialogs.OpenAnswers = { s.WorkFile("Func.txt") }; // Open still keeps the recent list
        form.Open1->trigger();
        QCOMPARE(s.Dialogs.Kinds(), (QStringList { "error", "open" }));
        QCOMPARE(ReadAll(s.RecentFile()), (s.WorkFile("Func.txt") + "\r\n/m/a.j\r\n").toUtf8());
    }

    void closingReleasesTheCatalogue()
    {
        Session s;
        ProgramSession::SeedLanguageFiles(s.Work.path());
        TMainForm &form = s.Start();
        QVERIFY(form.close());
        QVERIFY(form.State.Declarations[CategoryKind::Functions].Names.isEmpty());
    }

    void unreadableRecentListIsReportedAfterTheCaption()
    {
        Session s;
        QVERIFY(QDir(s.Exe.path()).mkdir("Recent.txt"));
        TMainForm &form = s.Start();
        QCOMPARE(s.Dialogs.Kinds(), QStringList{"error"});
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(ReopenCaptions(form), QStringList());
    }

    void enterIndents_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("caretAfter");
        QTest::newRow("end of a line with four spaces") << "    abc" << 7 << "    abc\r\n    " << 9 + 4;
        QTest::newRow("column 3 of a line with 8 spaces") << "        x" << 2 << "  \r\n        x" << 4 + 2;
        QTest::newRow("line starting with a tab") << "\tabc" << 4 << "\tabc\r\n" << 6;
        QTest::newRow("caret at the line start") << "    abc" << 0 << "\r\n    abc" << 2;
        QTest::newRow("second line") << "a\r\n  b" << 6 << "a\r\n  b\r\n  " << 8 + 2;
    }
    void enterIndents()
    {
        QFETCH(QString, text);
        QFETCH(int, caret);
        QFETCH(QString, after);
        QFETCH(int, caretAfter);
        Session s;
        TMainForm &form = s.Start();
        form.Editbox->setText(text);
        form.Editbox->setSelStart(caret);
        QTest::keyClick(form.Editbox, Qt::Key_Return);
        QCOMPARE(form.Editbox->text(), after);
        QCOMPARE(form.Editbox->selStart(), caretAfter);
        QCOMPARE(form.State.Indent.Pending, false);
        // The next keys type normally, without a second indentation.
        QTest::keyClicks(form.Editbox, "z");
        QCOMPARE(form.Editbox->text(), QString(after).insert(caretAfter, u'z'));
    }

    void positionTextAfterTyping()
    {
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "abc");
        QCOMPARE(form.StatusPanel->text(), QStringLiteral("1 : 4"));
        QTest::keyClick(form.Editbox, Qt::Key_Return);
        QCOMPARE(form.StatusPanel->text(), QStringLiteral("2 : 1"));
        QVERIFY(form.State.TrackSelection);
    }

    // Keys pressed in the editor after the replace dialog searched for "no"
    // with match case, and a copy (which stops the preview till the next
    // edit): the status bar's caret and flag, the zoom and the messages.
    void keysInTheEditor_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("wheel"); // then turned with Ctrl held, 120 a notch
        QTest::addColumn<QString>("status");
        QTest::newRow("F5") << "F5" << 0 << "4 : 1 Modified 0";
        QTest::newRow("Ctrl+I") << "Ctrl+I" << 0 << "4 : 10 Modified 0";
        QTest::newRow("Ctrl+G") << "Ctrl+G" << 0 << "2 : 1 Modified 0";
        QTest::newRow("F8") << "F8" << 0 << "2 : 10 Modified 0";
        QTest::newRow("Ctrl+S") << "Ctrl+S" << 0 << "4 : 5  0";
        QTest::newRow("Shift+F3") << "Shift+F3" << 0 << "1 : 34 Modified 0";
        QTest::newRow("F3, F3") << "F3, F3" << 0 << "1 : 18 Modified 0; \"no\" was not found!";
        QTest::newRow("Ctrl+Z, Ctrl+Y") << "Ctrl+Z, Ctrl+Y" << 0 << "4 : 5 Modified 0";
        QTest::newRow("Ctrl+plus twice") << "Ctrl++, Ctrl++" << 0 << "4 : 5 Modified 2";
        QTest::newRow("Ctrl+plus, Ctrl+0, Ctrl+minus")
            << "Ctrl++, Ctrl+0, Ctrl+-" << 0 << "4 : 5 Modified -1";
        QTest::newRow("Ctrl+wheel") << "" << 240 << "4 : 5 Modified 2";
    }
    void keysInTheEditor()
    {
        QFETCH(QString, keys);
        QFETCH(int, wheel);
        QFETCH(QString, status);
        Session s;
        Session::SeedLanguageFiles(s.Work.path());
        QVERIFY(WriteAll(s.WorkFile("Api.txt"), "tolvane-api 1\n"));
        TMainForm &form = s.Start();
        ActivateWindow(form);
        form.Editbox->setText("function F takes nothing returns nothing\n    call Nowhere()\nendfunction\n");
        form.CheckScript1->trigger();
        form.ReplaceDialog1->setFindText("no");
        form.ReplaceDialog1->MatchCase->setChecked(true);
        form.ReplaceDialog1Find();
        form.Editbox->setSelStart(form.Editbox->textLength());
        QTest::keyClicks(form.Editbox, "if x");
        const auto gutterWidth
            = [&] { return int(form.Editbox->SendScintilla(QsciScintillaBase::SCI_GETMARGINWIDTHN, 0UL)); };
        const int gutter = gutterWidth();
        QTest::keyClick(form.Editbox, Qt::Key_C, Qt::ControlModifier);
        s.Dialogs.InputAnswers = { "2" };
        s.Dialogs.SaveAnswers = { s.WorkFile("saved.j") };
        QTest::keySequence(form.Editbox, QKeySequence(keys));
        QWheelEvent turn({ 5, 5 }, { 5, 5 }, {}, { 0, wheel }, Qt::NoButton, Qt::ControlModifier,
            Qt::NoScrollPhase, false);
        QApplication::sendEvent(form.Editbox->viewport(), &turn);
        const QString zoom = QString::number(form.Editbox->zoom());
        QStringList shown = s.Dialogs.Messages();
        shown.prepend(form.StatusPanel->text() + u' ' + form.ModifiedPanel->text() + u' ' + zoom);
        QCOMPARE(shown.join("; "), status);
        QCOMPARE(form.Editbox->fontSize(), 9); // what the rich text keeps
        QTRY_COMPARE(gutterWidth() > gutter, zoom == u"2"); // the numbers grow along
    }

    void modifiedFlagSurvivesTheAboutBox()
    {
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "x");
        s.Dialogs.AnswerModal(ModalResult::Ok);
        form.About1->trigger();
        QCOMPARE(s.Dialogs.History.last().title, QStringLiteral("About"));
        QVERIFY(form.State.Modified);
        s.Dialogs.AnswerModal(ModalResult::Cancel);
        QVERIFY(!form.close());
        QCOMPARE(s.Dialogs.History.last().title, QStringLiteral("Save first?"));
        QVERIFY(form.isVisible());
    }

    void closing_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<QString>("saveAs");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel") << int(ModalResult::Cancel) << "" << false;
        QTest::newRow("Yes, save dialog cancelled") << int(ModalResult::Yes) << "" << false;
        QTest::newRow("Yes, saved") << int(ModalResult::Yes) << "out.j" << true;
        QTest::newRow("No") << int(ModalResult::No) << "" << true;
    }
    void closing()
    {
        QFETCH(int, answer);
        QFETCH(QString, saveAs);
        QFETCH(bool, closes);
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "abc");
        s.Dialogs.ModalAnswers = {answer};
        s.Dialogs.SaveAnswers = {saveAs.isEmpty() ? QString() : s.WorkFile(saveAs)};
        QCOMPARE(form.close(), closes);
        QCOMPARE(form.isVisible(), !closes);
        if (!saveAs.isEmpty())
            QCOMPARE(ReadAll(s.WorkFile(saveAs)), QByteArray("abc\r\n"));
    }

    void closingUnmodifiedAsksNothing()
    {
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(form.close());
        QCOMPARE(s.Dialogs.History.size(), 0);
    }

    void captionForms()
    {
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "abc");
        s.Dialogs.SaveAnswers = {s.WorkFile("first.j"), s.WorkFile("second.j")};
        form.Save1->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane  [first.j]"));
        form.Save1->trigger(); // named: caption unchanged, no dialog
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane  [first.j]"));
        form.SaveAs1->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [second.j]"));
        form.New1->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        s.Dialogs.OpenAnswers = {s.WorkFile("first.j")};
        form.Open1->trigger();
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [first.j]"));
        QCOMPARE(form.Editbox->text(), QStringLiteral("abc"));
        QCOMPARE(s.Dialogs.Kinds(), (QStringList{"save", "save", "open"}));
        s.Dialogs.SaveAnswers = { s.WorkFile("a[*].j") };
        form.SaveAs1->trigger(); // what the title bar shows: no modified mark
        QCOMPARE(form.windowHandle()->title(), QStringLiteral("Tolvane [a[*].j]"));
    }

    void fileDialogOptions()
    {
        Session s;
        TMainForm &form = s.Start();
        form.Open1->trigger();
        form.SaveAs1->trigger();
        const FileDialogOptions open = s.Dialogs.History.at(0).options;
        const FileDialogOptions save = s.Dialogs.History.at(1).options;
        QStringList captions;
        for (const FileFilter &filter : open.filters)
            captions.append(filter.caption + " | " + filter.patterns);
        QCOMPARE(captions, (QStringList{"Recognized Files (*.txt; *.j; *.ai) | *.txt;*.j;*.ai",
                                        "Jass Libraries (*.j) | *.j", "AI Files (*.ai) | *.ai",
                                        "Text Files (*.txt) | *.txt", "All Files (*.*) | *.*"}));
        QCOMPARE(open.defaultExtension, QStringLiteral(".txt"));
        QCOMPARE(save.title, QStringLiteral("Save As..."));
        QCOMPARE(save.initialFolder, QStringLiteral("."));
        QCOMPARE(save.defaultExtension, QStringLiteral(".txt"));
        QCOMPARE(save.confirmOverwrite, false);
        QCOMPARE(save.filters.size(), 5);
    }

    void openShowsTheDialogBeforeThePrompt()
    {
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "work");
        form.Open1->trigger(); // cancelled
        QCOMPARE(s.Dialogs.Kinds(), QStringList{"open"});
        QCOMPARE(form.Editbox->text(), QStringLiteral("work"));
        QVERIFY(form.State.Modified);
    }

    void yesWithACancelledSaveStopsTheCommand_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("Open") << "Open1";
        QTest::newRow("New") << "New1";
    }
    void yesWithACancelledSaveStopsTheCommand()
    {
        QFETCH(QString, command);
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(WriteAll(s.WorkFile("other.j"), "other\r\n"));
        QTest::keyClicks(form.Editbox, "work");
        s.Dialogs.OpenAnswers = {s.WorkFile("other.j")};
        s.Dialogs.AnswerModal(ModalResult::Yes);
        form.findChild<QAction *>(command)->trigger();
        QCOMPARE(s.Dialogs.Kinds().last(), QStringLiteral("save"));
        QCOMPARE(form.Editbox->text(), QStringLiteral("work"));
        QVERIFY(form.State.Modified);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
    }

    void recentListThroughOpen()
    {
        Session s;
        TMainForm &form = s.Start();
        for (const char *name : {"a.j", "b.j", "a.j"}) {
            QVERIFY(WriteAll(s.WorkFile(name), "x\r\n"));
            s.Dialogs.OpenAnswers = {s.WorkFile(name)};
            form.Open1->trigger();
        }
        QCOMPARE(ReadAll(s.RecentFile()),
                 (s.WorkFile("a.j") + "\r\n" + s.WorkFile("b.j") + "\r\n").toUtf8());
        // The submenu shows the list as it was at start.
        QVERIFY(!form.Reopen1->menuAction()->isEnabled());
        QCOMPARE(s.Dialogs.Messages(), QStringList());
    }

    // Files from the command line, or dropped on a modified document ("No"
    // to saving it): the first opens here, the others in windows of their own.
    void openFromOutside_data()
    {
        QTest::addColumn<QStringList>("files"); // in the current folder
        QTest::addColumn<bool>("drop");
        QTest::addColumn<QString>("result"); // caption | dialogs shown | further windows
        QTest::newRow("a.j") << QStringList { "a.j" } << false << "Tolvane [a.j] || ";
        QTest::newRow("missing.j") << QStringList { "missing.j" } << false << "Tolvane |error| ";
        QTest::newRow("a.j b.j") << QStringList { "a.j", "b.j" } << false << "Tolvane [a.j] || b.j";
        QTest::newRow("a.j dropped") << QStringList { "a.j" } << true << "Tolvane [a.j] |modal| ";
    }
    void openFromOutside()
    {
        QFETCH(QStringList, files);
        QFETCH(bool, drop);
        QFETCH(QString, result);
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(WriteAll(s.WorkFile("a.j"), "call A()\r\n"));
        QStringList started;
        form.StartWindow = [&started](const QString &path) { started << QFileInfo(path).fileName(); };
        QMimeData data;
        data.setUrls({ QUrl::fromLocalFile(s.WorkFile("a.j")) });
        QDragEnterEvent enter({ 5, 5 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent dropped({ 5, 5 }, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        if (drop) {
            QTest::keyClicks(form.Editbox, "x");
            s.Dialogs.AnswerModal(ModalResult::No);
            QApplication::sendEvent(form.Editbox->viewport(), &enter);
            QApplication::sendEvent(form.Editbox->viewport(), &dropped);
            QTRY_VERIFY(!form.State.FileName.isEmpty());
        } else {
            form.OpenFilesFromOutside(files);
        }
        QCOMPARE(form.windowTitle() + " |" + s.Dialogs.Kinds().join(' ') + "| " + started.join(' '), result);
        // As File > Open opens it, into the recent list too.
        const bool opened = !form.State.FileName.isEmpty();
        QCOMPARE(RecentLines(s.RecentFile()), opened ? QStringList { form.State.FileName } : QStringList {});
    }

    void reopenShowsTheFirstTenOfTheList()
    {
        Session s;
        QStringList lines;
        for (int i = 1; i <= 15; ++i)
            lines.append(QStringLiteral("/maps/A&B %1.j").arg(i));
        QVERIFY(WriteAll(s.RecentFile(), (lines.join("\r\n") + "\r\n").toUtf8()));
        TMainForm &form = s.Start();
        QVERIFY(form.Reopen1->menuAction()->isEnabled());
        QCOMPARE(ReopenCaptions(form), lines.mid(0, 10));
        // '&' is shown, not taken as an access key.
        QCOMPARE(form.Reopen1->actions().first()->text(), QStringLiteral("/maps/A&&B 1.j"));
        // The next Open writes back at most ten lines.
        QVERIFY(WriteAll(s.WorkFile("new.j"), ""));
        s.Dialogs.OpenAnswers = {s.WorkFile("new.j")};
        form.Open1->trigger();
        QCOMPARE(RecentLines(s.RecentFile()), QStringList{s.WorkFile("new.j")} + lines.mid(0, 9));
    }

    void reopenOpensTheFileOrSaysNotFound()
    {
        Session s;
        QVERIFY(WriteAll(s.WorkFile("war.j"), "call X()\r\n"));
        const QString missing = s.WorkFile("gone.j");
        QVERIFY(WriteAll(s.RecentFile(), (s.WorkFile("war.j") + "\r\n" + missing + "\r\n").toUtf8()));
        TMainForm &form = s.Start();
        const QByteArray recentBefore = ReadAll(s.RecentFile());
        form.State.Indent = { true, 2, 0 }; // dropped with the document it was for
        form.Reopen1->actions().at(0)->trigger();
        QCOMPARE(form.Editbox->text(), QStringLiteral("call X()"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [war.j]"));
        QCOMPARE(form.State.FileName, s.WorkFile("war.j"));
        QVERIFY(!form.State.Modified);
        QVERIFY(!form.Editbox->LoadingText);
        form.Reopen1->actions().at(1)->trigger();
        QCOMPARE(s.Dialogs.Messages(), QStringList{missing + " not found"});
        QCOMPARE(form.State.FileName, s.WorkFile("war.j"));
        QCOMPARE(form.Editbox->text(), QStringLiteral("call X()"));
        QCOMPARE(ReadAll(s.RecentFile()), recentBefore);
    }

    void failedOpenKeepsTheDocumentAndItsName()
    {
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(WriteAll(s.WorkFile("a.j"), "first\r\n"));
        s.Dialogs.OpenAnswers = {s.WorkFile("a.j"), s.WorkFile("missing.j")};
        form.State.Indent = { true, 2, 0 }; // dropped with the document it was for
        form.Open1->trigger();
        form.Open1->trigger();
        QCOMPARE(s.Dialogs.Kinds(), (QStringList{"open", "open", "error"}));
        QVERIFY(s.Dialogs.Messages().first().contains("missing.j"));
        QCOMPARE(form.State.FileName, s.WorkFile("a.j"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [a.j]"));
        QVERIFY(!form.Editbox->LoadingText);
        // The handlers are attached again: typing marks the document and
        // moves the position text; the next Save goes to a.j, not missing.j.
        form.Editbox->setSelStart(5);
        QTest::keyClicks(form.Editbox, "!");
        QVERIFY(form.State.Modified);
        QCOMPARE(form.StatusPanel->text(), QStringLiteral("1 : 7"));
        form.Save1->trigger();
        QCOMPARE(ReadAll(s.WorkFile("a.j")), QByteArray("first!\r\n"));
        QVERIFY(!QFile::exists(s.WorkFile("missing.j")));
    }

    void failedSaveKeepsTheFileAndTheFlag()
    {
        Session s;
        TMainForm &form = s.Start();
        const QByteArray old("old work\r\n");
        QVERIFY(WriteAll(s.WorkFile("a.j"), old));
        s.Dialogs.OpenAnswers = {s.WorkFile("a.j")};
        form.Open1->trigger();
        form.Editbox->setText(QString(4096, u'x'));
        {
            FileSizeLimit limit(64);
            form.Save1->trigger();
        }
        QCOMPARE(s.Dialogs.Kinds().last(), QStringLiteral("error"));
        QCOMPARE(ReadAll(s.WorkFile("a.j")), old);
        QVERIFY(form.State.Modified);
    }

    void failedFirstSaveLeavesTheDocumentUntitled()
    {
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, "abc");
        QVERIFY(QDir(s.Work.path()).mkdir("folder.j"));
        s.Dialogs.SaveAnswers = {s.WorkFile("folder.j")};
        form.Save1->trigger();
        QCOMPARE(s.Dialogs.Kinds(), (QStringList{"save", "error"}));
        QCOMPARE(form.State.FileName, QString());
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QVERIFY(form.State.Modified);
    }

    void openWorksWhenTheRecentListCannotBeWritten()
    {
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(QDir(s.Exe.path()).mkdir("Recent.txt")); // after start: reading it failed nothing
        QVERIFY(WriteAll(s.WorkFile("a.j"), "text\r\n"));
        s.Dialogs.OpenAnswers = {s.WorkFile("a.j")};
        form.Open1->trigger();
        QCOMPARE(form.Editbox->text(), QStringLiteral("text"));
        QCOMPARE(form.State.FileName, s.WorkFile("a.j"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [a.j]"));
        QVERIFY(!form.State.Modified);
        QCOMPARE(s.Dialogs.Kinds().last(), QStringLiteral("error"));
    }

    void saveWritesEveryLineWithCrLf_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("last line without break") << "abc" << QByteArray("abc\r\n");
        QTest::newRow("empty document") << "" << QByteArray();
    }
    void saveWritesEveryLineWithCrLf()
    {
        QFETCH(QString, typed);
        QFETCH(QByteArray, bytes);
        Session s;
        TMainForm &form = s.Start();
        QTest::keyClicks(form.Editbox, typed);
        s.Dialogs.SaveAnswers = {s.WorkFile("out.j")};
        QVERIFY(WriteAll(s.WorkFile("out.j"), "replaced without a question\r\n"));
        form.Save1->trigger();
        QCOMPARE(ReadAll(s.WorkFile("out.j")), bytes);
        QVERIFY(!form.State.Modified);
    }

    void openAndSaveKeepTheBytes_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("utf-8") << QByteArray("// caf\xc3\xa9 \xe5\x9c\xb0\r\nx\r\n")
                               << QByteArray("// caf\xc3\xa9 \xe5\x9c\xb0\r\nx\r\n");
        QTest::newRow("code page") << QByteArray("// caf\xe9 \x80\r\n") << QByteArray("// caf\xe9 \x80\r\n");
        QTest::newRow("LF ends become CR LF") << QByteArray("a\nb") << QByteArray("a\r\nb\r\n");
    }
    void openAndSaveKeepTheBytes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        Session s;
        TMainForm &form = s.Start();
        QVERIFY(WriteAll(s.WorkFile("s.j"), bytes));
        s.Dialogs.OpenAnswers = {s.WorkFile("s.j")};
        form.Open1->trigger();
        form.Save1->trigger();
        QCOMPARE(ReadAll(s.WorkFile("s.j")), saved);
    }

    void menuShortcutsWinOverTheEditor_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QKeyCombination>("key");
        QTest::addColumn<QString>("text"); // the editor's text afterwards
        const QString ab = QStringLiteral("ab");
        QTest::newRow("Ctrl+B") << "Find1" << (Qt::CTRL | Qt::Key_B) << ab;
        QTest::newRow("Ctrl+I") << "NewIf1" << (Qt::CTRL | Qt::Key_I) << "abif (  ) then\r\n    \r\nendif";
        QTest::newRow("Ctrl+L") << "NewLoop1" << (Qt::CTRL | Qt::Key_L)
                                << "abloop\r\n    exitwhen \r\n    \r\nendloop";
        QTest::newRow("Ctrl+F") << "NewFunction1" << (Qt::CTRL | Qt::Key_F)
                                << "abfunction  takes nothing returns nothing\r\n    \r\nendfunction";
        QTest::newRow("Ctrl+R") << "FindandReplace1" << (Qt::CTRL | Qt::Key_R) << ab;
        QTest::newRow("Ctrl+G") << "GotoLine1" << (Qt::CTRL | Qt::Key_G) << ab;
        QTest::newRow("Ctrl+M") << "MergeFiles1" << (Qt::CTRL | Qt::Key_M) << ab;
        QTest::newRow("F5") << "SyntaxCheck1" << QKeyCombination(Qt::Key_F5) << ab;
        QTest::newRow("F12") << "SaveAs1" << QKeyCombination(Qt::Key_F12) << ab;
    }
    void menuShortcutsWinOverTheEditor()
    {
        QFETCH(QString, action);
        QFETCH(QKeyCombination, key);
        QFETCH(QString, text);
        Session s;
        TMainForm &form = s.Start();
        ActivateWindow(form);
        form.Editbox->setFocus();
        QTest::keyClicks(form.Editbox, "ab");
        QSignalSpy spy(form.findChild<QAction *>(action), &QAction::triggered);
        QTest::keyClick(form.Editbox, key.key(), key.keyboardModifiers());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(form.Editbox->text(), text);
    }

    void commandTable_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("shortcut");
        QTest::newRow("New1") << "New1" << "&New" << "Ctrl+N";
        QTest::newRow("Open1") << "Open1" << "&Open" << "Ctrl+O";
        QTest::newRow("OpenMapScript1") << "OpenMapScript1"
                                        << "Open &Map Script..."
                                        << "";
        QTest::newRow("Save1") << "Save1" << "&Save" << "Ctrl+S";
        QTest::newRow("SaveAs1") << "SaveAs1" << "Save &As" << "F12";
        QTest::newRow("Exit1") << "Exit1" << "E&xit" << "";
        QTest::newRow("Find1") << "Find1" << "&Find" << "Ctrl+B";
        QTest::newRow("FindandReplace1") << "FindandReplace1" << "Find and &Replace" << "Ctrl+R";
        QTest::newRow("GotoLine1") << "GotoLine1" << "&Goto Line" << "Ctrl+G";
        QTest::newRow("NewFunction1") << "NewFunction1" << "New &Function" << "Ctrl+F";
        QTest::newRow("NewLoop1") << "NewLoop1" << "New &Loop" << "Ctrl+L";
        QTest::newRow("NewIf1") << "NewIf1" << "New &If" << "Ctrl+I";
        QTest::newRow("SyntaxCheck1") << "SyntaxCheck1" << "Syntax Check" << "F5";
        QTest::newRow("LoadfromJassTrigger1") << "LoadfromJassTrigger1" << "Load from Jass Trigger" << "F9";
        QTest::newRow("Dontclickonme1") << "Dontclickonme1" << "(I'm not here)" << "";
        QTest::newRow("SavetoJassTrigger1") << "SavetoJassTrigger1" << "Save to Jass Trigger" << "F10";
        QTest::newRow("MergeFiles1") << "MergeFiles1" << "Merge Files..." << "Ctrl+M";
        QTest::newRow("About1") << "About1" << "&About" << "";
    }
    void commandTable()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, shortcut);
        Session s;
        TMainForm &form = s.Start();
        const QAction *action = form.findChild<QAction *>(name);
        QVERIFY(action != nullptr);
        QCOMPARE(action->text(), caption);
        QCOMPARE(action->shortcut().toString(QKeySequence::PortableText), shortcut);
        QCOMPARE(action->isVisible(), name != QLatin1String("Dontclickonme1"));
    }

    void menusInOrder()
    {
        Session s;
        TMainForm &form = s.Start();
        QStringList top;
        for (const QAction *action : form.menuBar()->actions())
            top.append(action->text());
        QCOMPARE(top, (QStringList{"&File", "&Edit", "&Templates", "T&ools", "&About"}));
        const auto names = [](const QMenu *menu) {
            QStringList list;
            for (const QAction *action : menu->actions())
                list.append(action->isSeparator() ? QStringLiteral("-") : action->objectName());
            return list;
        };
        QCOMPARE(names(form.File1),
            (QStringList {
                "New1", "Open1", "OpenMapScript1", "Reopen1Action", "-", "Save1", "SaveAs1", "-", "Exit1" }));
        QCOMPARE(names(form.Edit1),
            (QStringList { "Find1", "FindandReplace1", "-", "GoToSymbol1", "GotoLine1", "-", "FindNext1",
                "FindPrevious1", "-", "Fold1", "Unfold1" }));
        QCOMPARE(names(form.Tools1),
            (QStringList { "SyntaxCheck1", "CheckScript1", "NextProblem1", "PreviousProblem1", "-",
                "LoadfromJassTrigger1", "Dontclickonme1", "SavetoJassTrigger1", "-", "MergeFiles1", "-",
                "Outline1" }));
    }

    void toolbarInOrderWithHintsAndIcons()
    {
        Session s;
        TMainForm &form = s.Start();
        QStringList hints;
        for (const QAction *action : form.ToolBar1->actions()) {
            if (action->isSeparator()) {
                hints.append("-");
                continue;
            }
            hints.append(action->toolTip());
            const QIcon icon = action->icon();
            QVERIFY2(!icon.isNull(), qPrintable(action->objectName()));
            QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).deviceIndependentSize(), QSizeF(16, 16));
            QCOMPARE(icon.pixmap(QSize(16, 16), 2.0).size(), QSize(32, 32));
        }
        QCOMPARE(hints,
            (QStringList { "New (Ctrl+N)", "Open (Ctrl+O)", "Save (Ctrl+S)", "-",
                "Load from Jass Trigger (F9)", "Save to Jass Trigger (F10)", "-", "Syntax Check (F5)",
                "Check Script (Shift+F5)", "-", "Find (Ctrl+B)", "Find and Replace (Ctrl+R)", "-",
                "Merge Files (Ctrl+M)", "-", "Exit" }));
        QVERIFY(form.findChild<QToolButton *>("ToolButton12") != nullptr);
    }

    void windowsCreatedOnceWithTheirCaptions()
    {
        Session s;
        s.Start();
        QCOMPARE(s.program.AboutBox->windowTitle(), QStringLiteral("About"));
        QCOMPARE(s.program.MergeFileForm->windowTitle(), QStringLiteral("Merge Files"));
        QCOMPARE(s.Form().Windows.SaveFirstForm, s.program.SaveFirstForm);
        QCOMPARE(s.Form().Windows.ConfirmBox, s.program.ConfirmBox);
        s.Dialogs.AnswerModal(ModalResult::Cancel);
        s.Form().MergeFiles1->trigger();
        QCOMPARE(s.Dialogs.History.last().title, QStringLiteral("Merge Files"));
    }

private:
    static QStringList RecentLines(const QString &path)
    {
        return QString::fromUtf8(ReadAll(path)).split("\r\n", Qt::SkipEmptyParts);
    }
    static void ActivateWindow(QWidget &window)
    {
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
};

TOLVANE_TEST(MainFormTest);
#include "MainFormTest.moc"
