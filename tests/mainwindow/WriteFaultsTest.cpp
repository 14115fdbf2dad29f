#include "FaultInjection.h"
#include "TestFiles.h"
#include "TestRegistry.h"

#include "app/Project1.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"

#include <QAction>
#include <QDir>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(WriteFault)

namespace {

// The document and the program's state as the user sees them.
struct FormState {
    QString fileName;
    bool modified = false;
    QString caption;
    QString text;

    bool operator==(const FormState &) const = default;
};

FormState StateOf(const TMainForm &form)
{
    return { form.State.FileName, form.State.Modified, form.windowTitle(), form.Editbox->text() };
}

char *toString(const FormState &s)
{
    return QTest::toString(QStringLiteral("name \"%1\", %2, caption \"%3\", %4 characters")
                               .arg(s.fileName, s.modified ? "modified" : "not modified", s.caption)
                               .arg(s.text.size()));
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

// Every file the main window writes, under every way a write can fail: the
// old file stays whole, one message names the file and the reason, and the
// document's name, flag and caption stay true.
class WriteFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void writeFails_data()
    {
        QTest::addColumn<QString>("write");
        QTest::addColumn<WriteFault>("fault");
        const std::pair<const char *, WriteFault> faults[] = {
            { "read-only folder", WriteFault::ReadOnlyFolder },
            { "target is a folder", WriteFault::TargetIsFolder },
            { "full disk", WriteFault::FullDisk },
            { "half-way", WriteFault::HalfWay },
        };
        for (const char *write : { "save", "first save", "save as", "recent list" }) {
            for (const auto &[name, fault] : faults)
                QTest::addRow("%s/%s", write, name) << QString::fromLatin1(write) << fault;
        }
    }
    void writeFails()
    {
        QFETCH(QString, write);
        QFETCH(WriteFault, fault);
        QTemporaryDir work;
        QTemporaryDir exe;
        QTemporaryDir data;
        const QString oldCurrent = QDir::currentPath();
        QDir::setCurrent(work.path());
        ScriptedDialogService dialogs;
        Program program = CreateProgram(dialogs, exe.path(), data.path());
        const auto cleanup = qScopeGuard([&] {
            program.MainForm.reset();
            QDir::setCurrent(oldCurrent);
        });
        TMainForm &form = *program.MainForm;
        form.show();

        const QString opened = work.filePath("a.j");
        QVERIFY(WriteAll(opened, "call A()\r\n"));
        QVERIFY(WriteAll(work.filePath("b.j"), "call B()\r\n"));
        const QString recent = QDir(exe.path()).filePath("Recent.txt");
        QVERIFY(WriteAll(recent, "/maps/one.j\r\n/maps/two.j\r\n"));
        QAction *command = form.Save1;
        QString target;
        if (write == "recent list") {
            dialogs.OpenAnswers = { opened };
            command = form.Open1;
            target = recent;
        } else {
            if (write != "first save") {
                dialogs.OpenAnswers = { opened };
                form.Open1->trigger();
            }
            form.Editbox->setText(QString(4096, u'x'));
            QVERIFY(form.State.Modified);
            target = write == "save" ? opened : work.filePath("b.j");
            if (write != "save")
                dialogs.SaveAnswers = { target };
            if (write == "save as")
                command = form.SaveAs1;
        }
        const QByteArray old = ReadAll(target);
        // A failed Open writes the list after the document is there; a failed
        // save leaves everything as it was.
        FormState expected = StateOf(form);
        if (command == form.Open1)
            expected = { opened, false, QStringLiteral("Tolvane [a.j]"), QStringLiteral("call A()") };
        const qsizetype shown = dialogs.History.size();
        for (const QTemporaryDir *dir : { &work, &exe, &data })
            ShareWithUnprivilegedUser(dir->path());

        QStringList entriesBefore;
        {
            InjectedFault injected(fault, target, 16);
            if (!injected.Failure().isEmpty())
                QSKIP(qPrintable(injected.Failure()));
            entriesBefore = Entries(QFileInfo(target).absolutePath());
            command->trigger();
        }

        if (fault == WriteFault::TargetIsFolder)
            QVERIFY(InjectedFault::IsUntouchedFolder(target));
        else
            QCOMPARE(ReadAll(target), old);
        QCOMPARE(Entries(QFileInfo(target).absolutePath()), entriesBefore);
        QStringList told;
        for (const ScriptedDialogService::Shown &s : dialogs.History.mid(shown)) {
            if (s.kind == "message" || s.kind == "error")
                told.append(s.kind + ": " + s.text);
        }
        QCOMPARE(told.size(), 1);
        const QString message = told.first();
        QVERIFY2(message.startsWith("error: "), qPrintable(message));
        QVERIFY2(message.contains(target), qPrintable(message));
        QVERIFY2(message.contains(InjectedFault::Reason(fault)), qPrintable(message));
        QCOMPARE(StateOf(form), expected);
    }
};

TOLVANE_TEST(WriteFaultsTest);
#include "WriteFaultsTest.moc"
