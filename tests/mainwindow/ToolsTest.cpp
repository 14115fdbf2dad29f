#include "ProgramSession.h"
#include "TestFiles.h"
#include "TestRegistry.h"

#include "app/Project1.h"
#include "bridge/TriggerBridge.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"
#include "platform/TextCodec.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A game editor's script box, seen through the bridge.
class FakeTriggerBridge final : public TriggerBridge
{
public:
    std::string Text;
    int Reads = 0;
    QList<std::string> Writes;

    std::string ReadTriggerText() override
    {
        ++Reads;
        return Text;
    }
    void WriteTriggerText(const std::string &text) override
    {
        Writes.append(text);
        Text = text;
    }
    bool HasTriggerTextBox() override { return true; }
};

// One run of the program in a fresh current folder with scripted dialogs;
// the folder it runs from holds no bridge helper.
class ToolsSession : public ProgramSession
{
public:
    ToolsSession()
    {
        SeedLanguageFiles(Work.path());
        Start();
    }

    FakeTriggerBridge &UseFakeBridge()
    {
        auto bridge = std::make_unique<FakeTriggerBridge>();
        FakeTriggerBridge &fake = *bridge;
        program.MainForm->SetTriggerBridge(std::move(bridge));
        return fake;
    }
    // Opens a file of the given content through File, Open.
    void OpenFile(const QString &name, const QByteArray &bytes)
    {
        QVERIFY(WriteAll(Work.filePath(name), bytes));
        Dialogs.OpenAnswers = {Work.filePath(name)};
        Form().Open1->trigger();
    }
};

QByteArray HighBytes()
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes.append(static_cast<char>(b));
    return bytes;
}

std::string Bytes(const QByteArray &bytes)
{
    return {bytes.constData(), static_cast<size_t>(bytes.size())};
}

} // namespace

class ToolsTest : public QObject
{
    Q_OBJECT

private slots:
    void syntaxCheck_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selStart");
        QTest::addColumn<int>("selLength");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("selStartAfter");
        QTest::addColumn<int>("selLengthAfter");
        QTest::newRow("if x on the third line of three")
            << "call F()\r\nset x = 1\r\nif x" << 2 << 0 << "then is missing!" << 21 << 4;
        QTest::newRow("indented endif x") << "local integer i\r\n    endif x" << 0 << 3 << "End of line expected!" << 17
                                          << 11;
        QTest::newRow("first line fails, caret below") << "globals\r\nreturn" << 12 << 0 << "Unknown statement" << 0
                                                       << 7;
        QTest::newRow("no errors, selection kept") << "call F()\r\nreturn" << 3 << 5 << "No errors found!" << 3 << 5;
        QTest::newRow("empty document") << "" << 0 << 0 << "No errors found!" << 0 << 0;
    }
    void syntaxCheck()
    {
        QFETCH(QString, text);
        QFETCH(int, selStart);
        QFETCH(int, selLength);
        QFETCH(QString, message);
        QFETCH(int, selStartAfter);
        QFETCH(int, selLengthAfter);
        ToolsSession s;
        TMainForm &form = s.Form();
        form.Editbox->setText(text);
        form.Editbox->select(selStart, selLength);
        form.FunctionSearch->setFocus();

        form.SyntaxCheck1->trigger();
        QCOMPARE(form.HelpEdit->text(), message);
        QCOMPARE(form.Editbox->selStart(), selStartAfter);
        QCOMPARE(form.Editbox->selLength(), selLengthAfter);
        QCOMPARE(form.StatusPanel->text(), form.PositionText());
        QVERIFY(form.State.TrackSelection);
        QCOMPARE(form.focusWidget(), form.Editbox);
        QCOMPARE(form.Editbox->text(), text);
        QCOMPARE(s.Dialogs.History.size(), 0);
    }

    void checkMessageColoursItsKeywords()
    {
        ToolsSession s;
        TMainForm &form = s.Form();
        form.Editbox->setText(QStringLiteral("call"));
        form.SyntaxCheck1->trigger();
        QCOMPARE(form.HelpEdit->text(), QStringLiteral("Function expected after call"));
        // "call" is a keyword of the syntax file; "Function" is no word of it.
        const TextAttributes keyword = form.HelpEdit->attributesAt(24);
        QCOMPARE(keyword.style, form.HelpEdit->FindWordClass(u"call")->Style);
        QVERIFY(keyword != form.HelpEdit->attributesAt(0));
    }

    void loadWithoutAGameEditorGivesAnEmptyUntitledDocument()
    {
        ToolsSession s;
        TMainForm &form = s.Form();
        s.OpenFile(QStringLiteral("a.j"), "call F()\r\n");
        QTest::keyClicks(form.Editbox, "x");
        s.Dialogs.AnswerModal(ModalResult::No);
        // The real bridge of this system, with no helper beside the program.
        form.LoadfromJassTrigger1->trigger();
        QCOMPARE(form.Editbox->text(), QString());
        QCOMPARE(form.State.FileName, QString());
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(form.State.Modified, false);
        QCOMPARE(s.Dialogs.Kinds(), (QStringList{"open", "modal"}));
        QCOMPARE(s.Dialogs.Unanswered(), 0);
    }

    void loadStopsWhenTheSaveFirstPromptIsCancelled_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("Cancel") << int(ModalResult::Cancel);
        QTest::newRow("Yes, save dialog cancelled") << int(ModalResult::Yes);
    }
    void loadStopsWhenTheSaveFirstPromptIsCancelled()
    {
        QFETCH(int, answer);
        ToolsSession s;
        TMainForm &form = s.Form();
        FakeTriggerBridge &bridge = s.UseFakeBridge();
        bridge.Text = "call G()";
        QTest::keyClicks(form.Editbox, "call F()");
        s.Dialogs.ModalAnswers = {answer};
        s.Dialogs.SaveAnswers = {QString()};
        form.LoadfromJassTrigger1->trigger();
        QCOMPARE(form.Editbox->text(), QStringLiteral("call F()"));
        QCOMPARE(form.State.Modified, true);
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(bridge.Reads, 0);

        // A named document keeps its name and caption too. (Yes would save
        // it under its name without a dialog.)
        s.Dialogs.AnswerModal(ModalResult::No);
        s.OpenFile(QStringLiteral("a.j"), "return\r\n");
        QTest::keyClicks(form.Editbox, "x");
        s.Dialogs.AnswerModal(ModalResult::Cancel);
        form.LoadfromJassTrigger1->trigger();
        QCOMPARE(form.State.FileName, s.Work.filePath("a.j"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [a.j]"));
        QCOMPARE(form.State.Modified, true);
        QCOMPARE(form.Editbox->text(), QStringLiteral("xreturn"));
        QCOMPARE(bridge.Reads, 0);
    }

    void triggerTextBothWays_data()
    {
        QTest::addColumn<QByteArray>("trigger");
        QTest::newRow("zero-length text") << QByteArray();
        QTest::newRow("bytes 0x80 to 0xFF between lines") << "function F takes nothing returns nothing\r\n  // "
                                                                 + HighBytes() + "\r\nendfunction";
        QTest::newRow("last line ended") << QByteArray("call F()\r\n\r\n");
    }
    void triggerTextBothWays()
    {
        QFETCH(QByteArray, trigger);
        ToolsSession s;
        TMainForm &form = s.Form();
        FakeTriggerBridge &bridge = s.UseFakeBridge();
        bridge.Text = Bytes(trigger);
        s.OpenFile(QStringLiteral("a.j"), "return\r\n");

        form.LoadfromJassTrigger1->trigger();
        QCOMPARE(bridge.Reads, 1);
        QCOMPARE(form.Editbox->text(), TextCodec::DecodeCp1252(trigger));
        QCOMPARE(form.State.FileName, QString());
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane"));
        QCOMPARE(form.State.Modified, false);

        bridge.Text.clear();
        s.Dialogs.AnswerModal(ModalResult::Yes);
        form.SavetoJassTrigger1->trigger();
        QCOMPARE(s.Dialogs.History.last().title, QStringLiteral("Are you sure?"));
        QCOMPARE(bridge.Writes, QList<std::string>{Bytes(trigger)});
        QCOMPARE(s.Dialogs.Unanswered(), 0);
    }

    void saveToTrigger_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("writes");
        QTest::newRow("Yes") << int(ModalResult::Yes) << 1;
        QTest::newRow("No") << int(ModalResult::No) << 0;
        QTest::newRow("closed") << int(ModalResult::Cancel) << 0;
    }
    void saveToTrigger()
    {
        QFETCH(int, answer);
        QFETCH(int, writes);
        ToolsSession s;
        TMainForm &form = s.Form();
        FakeTriggerBridge &bridge = s.UseFakeBridge();
        bridge.Text = "the trigger's own";
        s.OpenFile(QStringLiteral("a.j"), "return\r\n");
        QTest::keyClicks(form.Editbox, "x");
        s.Dialogs.ModalAnswers = {answer};
        form.SavetoJassTrigger1->trigger();
        QCOMPARE(bridge.Writes.size(), writes);
        QCOMPARE(bridge.Text, writes > 0 ? std::string("xreturn") : std::string("the trigger's own"));
        // Nothing changes on this side.
        QCOMPARE(form.State.Modified, true);
        QCOMPARE(form.State.FileName, s.Work.filePath("a.j"));
        QCOMPARE(form.windowTitle(), QStringLiteral("Tolvane [a.j]"));
    }

    void saveRefusesCharactersTheTriggerCannotHold_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("refused"); // empty: no game editor, and no message
        QTest::newRow("U+4E2D") << QStringLiteral("// caf\u00e9 \u4e2d") << "U+4E2D";
        QTest::newRow("U+0000, which would end the text") << QStringLiteral("a\0b") << "U+0000";
        QTest::newRow("U+4E2D without a game editor") << QStringLiteral("\u4e2d") << "";
    }
    void saveRefusesCharactersTheTriggerCannotHold()
    {
        QFETCH(QString, text);
        QFETCH(QString, refused);
        ToolsSession s;
        TMainForm &form = s.Form();
        FakeTriggerBridge none; // the real bridge then: no helper beside the program
        FakeTriggerBridge &bridge = refused.isEmpty() ? none : s.UseFakeBridge();
        form.Editbox->setText(text);
        s.Dialogs.AnswerModal(ModalResult::Yes);
        form.SavetoJassTrigger1->trigger();
        QCOMPARE(bridge.Writes.size(), 0);
        QCOMPARE(s.Dialogs.Kinds().mid(1), refused.isEmpty() ? QStringList() : QStringList("error"));
        QVERIFY2(s.Dialogs.Messages().value(0).contains(refused), qPrintable(s.Dialogs.Messages().value(0)));
    }
};

TOLVANE_TEST(ToolsTest);
#include "ToolsTest.moc"
