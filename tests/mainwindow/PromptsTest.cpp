#include "TestRegistry.h"

#include "mainwindow/AreYouSureBox.h"
#include "mainwindow/SaveFirst.h"
#include "platform/Dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

// Runs the dialog modally and lets `act` answer it from inside its loop.
int ExecAndAct(QDialog &dialog, const std::function<void()> &act)
{
    QTimer::singleShot(0, &dialog, act);
    return dialog.exec();
}

QStringList ButtonTextsLeftToRight(const QDialog &dialog)
{
    QList<QPushButton *> buttons = dialog.findChildren<QPushButton *>();
    std::sort(buttons.begin(), buttons.end(),
              [](const QPushButton *a, const QPushButton *b) { return a->x() < b->x(); });
    QStringList texts;
    for (const QPushButton *b : buttons)
        texts.append(b->text());
    return texts;
}

} // namespace

class PromptsTest : public QObject
{
    Q_OBJECT

private slots:
    void saveFirstFormTexts()
    {
        TSaveFirstForm form;
        form.show();
        QCOMPARE(form.windowTitle(), QStringLiteral("Save first?"));
        QCOMPARE(form.Label1->text(), QStringLiteral("Do you want to save first?"));
        QCOMPARE(ButtonTextsLeftToRight(form), (QStringList{"Yes", "No", "Cancel"}));
        QVERIFY(!(form.windowFlags() & Qt::WindowCloseButtonHint));
        form.hide();
    }

    void saveFirstFormAnswers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("Yes") << "YesBtn" << int(ModalResult::Yes);
        QTest::newRow("No") << "NoBtn" << int(ModalResult::No);
        QTest::newRow("Cancel") << "CancelBtn" << int(ModalResult::Cancel);
        QTest::newRow("Escape") << "Escape" << int(ModalResult::Cancel);
        QTest::newRow("closed") << "close" << int(ModalResult::Cancel);
    }
    void saveFirstFormAnswers()
    {
        QFETCH(QString, action);
        QFETCH(int, result);
        TSaveFirstForm form;
        QCOMPARE(ExecAndAct(form, [&] { Act(form, action); }), result);
    }

    void confirmBoxTexts()
    {
        TConfirmBox box;
        box.show();
        QCOMPARE(box.windowTitle(), QStringLiteral("Are you sure?"));
        QCOMPARE(box.Label1->text(), QStringLiteral("Are you sure? This cannot be undone."));
        QCOMPARE(ButtonTextsLeftToRight(box), (QStringList{"Yes", "No"}));
        QVERIFY(!(box.windowFlags() & Qt::WindowCloseButtonHint));
        box.hide();
    }

    void confirmBoxAnswers_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("Yes") << "YesBtn" << int(ModalResult::Yes);
        QTest::newRow("No") << "NoBtn" << int(ModalResult::No);
        QTest::newRow("Escape") << "Escape" << int(ModalResult::No);
        QTest::newRow("closed") << "close" << int(ModalResult::No);
    }
    void confirmBoxAnswers()
    {
        QFETCH(QString, action);
        QFETCH(int, result);
        TConfirmBox box;
        QCOMPARE(ExecAndAct(box, [&] { Act(box, action); }), result);
    }

    void promptsKeepNoStateBetweenShowings()
    {
        TSaveFirstForm form;
        QCOMPARE(ExecAndAct(form, [&] { Act(form, "NoBtn"); }), int(ModalResult::No));
        QCOMPARE(ExecAndAct(form, [&] { Act(form, "Escape"); }), int(ModalResult::Cancel));
    }

    void toolkitFilterKeepsEveryPatternUsable_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("patterns");
        QTest::addColumn<QString>("filter");
        QTest::newRow("Recognized Files") << "Recognized Files (*.txt; *.j; *.ai)" << "*.txt;*.j;*.ai"
                                          << "Recognized Files (*.txt *.j *.ai)";
        QTest::newRow("Jass Libraries") << "Jass Libraries (*.j)" << "*.j" << "Jass Libraries (*.j)";
        QTest::newRow("All Files matches names without a dot")
            << "All Files (*.*)" << "*.*" << "All Files (*)";
        QTest::newRow("caption without parentheses") << "Scripts" << "*.j" << "Scripts (*.j)";
    }
    void toolkitFilterKeepsEveryPatternUsable()
    {
        QFETCH(QString, caption);
        QFETCH(QString, patterns);
        QFETCH(QString, filter);
        QCOMPARE(QtDialogService::ToolkitFilter({caption, patterns}), filter);
    }

    void scriptedServiceAnswersInOrderAndRecords()
    {
        ScriptedDialogService dialogs;
        dialogs.OpenAnswers = QStringList{"/a.j", ""};
        dialogs.AnswerModal(ModalResult::No);
        const FileDialogOptions options{QStringLiteral("Open"), {}, ".txt", ".", false};
        QCOMPARE(dialogs.OpenFileName(nullptr, options), std::optional<QString>("/a.j"));
        QCOMPARE(dialogs.OpenFileName(nullptr, options), std::nullopt);
        TSaveFirstForm form;
        QCOMPARE(dialogs.Ask(form), ModalResult::No);
        QCOMPARE(dialogs.Ask(form), ModalResult::Cancel); // queue empty: cancelling answer
        dialogs.ShowMessage(nullptr, "hello");
        QCOMPARE(dialogs.Kinds(), (QStringList{"open", "open", "modal", "modal", "message"}));
        QCOMPARE(dialogs.History.at(2).title, QStringLiteral("Save first?"));
        QCOMPARE(dialogs.Unanswered(), 1);
        QCOMPARE(dialogs.Messages(), QStringList{"hello"});
    }

private:
    static void Act(QDialog &dialog, const QString &action)
    {
        if (action == QLatin1String("Escape"))
            QTest::keyClick(&dialog, Qt::Key_Escape);
        else if (action == QLatin1String("close"))
            dialog.close();
        else
            dialog.findChild<QPushButton *>(action)->click();
    }
};

TOLVANE_TEST(PromptsTest);
#include "PromptsTest.moc"
