#include "FaultInjection.h"
#include "TestRegistry.h"

#include "about/ButtonStage.h"
#include "cli/Cli.h"
#include "merge/MergeFiles.h"
#include "platform/Dialogs.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(WriteFault)

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString WriteIn(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(name));
    return file.fileName();
}

QStringList Rows(const QListWidget &list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows.append(list.item(i)->text());
    return rows;
}

QStringList Entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

// A merge target that cannot be written, from the dialog and from
// tolvane-cli merge: the old target stays whole, the user reads one message
// that names it and says why, and the dialog keeps its sources and rows.
class MergeWriteFaultsTest : public QObject {
    Q_OBJECT

private slots:
    void targetFails_data()
    {
        QTest::addColumn<WriteFault>("fault");
        QTest::addColumn<bool>("fromCli");
        const std::pair<const char *, WriteFault> faults[] = {
            { "read-only folder", WriteFault::ReadOnlyFolder },
            { "target is a folder", WriteFault::TargetIsFolder },
            { "full disk", WriteFault::FullDisk },
            { "half-way", WriteFault::HalfWay },
        };
        for (const bool fromCli : { false, true }) {
            for (const auto &[name, fault] : faults)
                QTest::addRow("merge target/%s%s", name, fromCli ? " (command line)" : "")
                    << fault << fromCli;
        }
    }
    void targetFails()
    {
        QFETCH(WriteFault, fault);
        QFETCH(bool, fromCli);
        QTemporaryDir dir;
        const QStringList sources { WriteIn(dir, "a.j", "call A()\r\n"),
            WriteIn(dir, "b.j", "call B()\r\n") };
        const QByteArray old("the old merge\r\n");
        const QString target = WriteIn(dir, "out.j", old);
        ScriptedDialogService dialogs;
        ButtonStage stage;
        TMergeFileForm form(dialogs, stage);
        dialogs.OpenFilesAnswers.append(sources);
        form.AddBtn->click();
        dialogs.SaveAnswers.append(target);
        form.TargetBtn->click();
        QVERIFY(form.MergeBtn->isEnabled());
        ShareWithUnprivilegedUser(dir.path());

        QByteArray cliOut;
        QByteArray cliErr;
        int status = 0;
        QStringList entriesBefore;
        {
            InjectedFault injected(fault, target, 8); // the merge writes 24 bytes
            if (!injected.Failure().isEmpty())
                QSKIP(qPrintable(injected.Failure()));
            entriesBefore = Entries(dir.path());
            if (fromCli) {
                QBuffer out;
                QBuffer err;
                out.open(QIODevice::WriteOnly);
                err.open(QIODevice::WriteOnly);
                status = RunCli(QStringList { "merge", "-o", target } + sources, CliStreams { out, err });
                cliOut = out.data();
                cliErr = err.data();
            } else {
                form.MergeBtn->click();
            }
        }

        if (fault == WriteFault::TargetIsFolder)
            QVERIFY(InjectedFault::IsUntouchedFolder(target));
        else
            QCOMPARE(ReadAll(target), old);
        QCOMPARE(Entries(dir.path()), entriesBefore);
        QString message;
        if (fromCli) {
            QVERIFY(status != 0);
            QVERIFY(cliOut.isEmpty());
            QCOMPARE(cliErr.count('\n'), 1);
            message = QString::fromUtf8(cliErr);
        } else {
            QCOMPARE(dialogs.Messages().size(), 1);
            QCOMPARE(dialogs.Kinds().last(), QStringLiteral("error"));
            message = dialogs.Messages().first();
            QCOMPARE(Rows(*form.ListBox1), (QStringList { "a.j", "b.j" }));
            QVERIFY(!form.RowsShowNames());
            QCOMPARE(form.Sources, sources);
            QCOMPARE(form.Target, target);
            QCOMPARE(form.TargetLbl->text(), QStringLiteral("out.j"));
            QVERIFY(form.MergeBtn->isEnabled());
        }
        QVERIFY2(message.contains(target), qPrintable(message));
        QVERIFY2(message.contains(InjectedFault::Reason(fault)), qPrintable(message));
    }
};

TOLVANE_TEST(MergeWriteFaultsTest);
#include "MergeWriteFaultsTest.moc"
