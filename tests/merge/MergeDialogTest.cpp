#include "TestRegistry.h"

#include "about/ButtonStage.h"
#include "merge/MergeFiles.h"
#include "platform/Dialogs.h"

#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList Rows(const QListWidget &list)
{
    QStringList rows;
    for (int i = 0; i < list.count(); ++i)
        rows.append(list.item(i)->text());
    return rows;
}

// Which of Merge, Move Up, Move Down and Remove are enabled, as "MUDR" with
// '-' for a disabled one.
QString Enabled(const TMergeFileForm &form)
{
    QString s;
    s += form.MergeBtn->isEnabled() ? u'M' : u'-';
    s += form.MoveUpBtn->isEnabled() ? u'U' : u'-';
    s += form.MoveDownBtn->isEnabled() ? u'D' : u'-';
    s += form.RemoveBtn->isEnabled() ? u'R' : u'-';
    return s;
}

void Select(QListWidget &list, const QList<int> &rows)
{
    list.clearSelection();
    for (const int row : rows)
        list.item(row)->setSelected(true);
}

} // namespace

class MergeDialogTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    ScriptedDialogService m_dialogs;
    ButtonStage m_stage;

    QString Path(const QString &name) const { return m_dir.filePath(name); }

    QString Write(const QString &name, const QByteArray &bytes)
    {
        QFile file(Path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }

    // Adds the named files through the Add button, answering the dialog.
    void Add(TMergeFileForm &form, const QStringList &names)
    {
        QStringList paths;
        for (const QString &name : names)
            paths.append(QFile::exists(Path(name)) ? Path(name) : Write(name, name.toLatin1() + "\r\n"));
        m_dialogs.OpenFilesAnswers.append(paths);
        form.AddBtn->click();
    }

    void ChooseTarget(TMergeFileForm &form, const QString &name)
    {
        m_dialogs.SaveAnswers.append(Path(name));
        form.TargetBtn->click();
    }

private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }
    void init() { m_dialogs = ScriptedDialogService(); }

    void buttons_data()
    {
        QTest::addColumn<int>("sources");
        QTest::addColumn<bool>("target");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("enabled");
        QTest::newRow("nothing yet") << 0 << false << QList<int> {} << "----";
        QTest::newRow("one source and a target") << 1 << true << QList<int> {} << "----";
        QTest::newRow("two sources, no target") << 2 << false << QList<int> {} << "----";
        QTest::newRow("two sources and a target") << 2 << true << QList<int> {} << "M---";
        QTest::newRow("first of three selected") << 3 << false << QList<int> { 0 } << "--DR";
        QTest::newRow("middle of three selected") << 3 << false << QList<int> { 1 } << "-UDR";
        QTest::newRow("last of three selected") << 3 << false << QList<int> { 2 } << "-U-R";
        QTest::newRow("two rows selected") << 3 << false << QList<int> { 0, 2 } << "---R";
        QTest::newRow("only row selected") << 1 << false << QList<int> { 0 } << "---R";
    }
    void buttons()
    {
        QFETCH(int, sources);
        QFETCH(bool, target);
        QFETCH(QList<int>, selected);
        TMergeFileForm form(m_dialogs, m_stage);
        QStringList names;
        for (int i = 0; i < sources; ++i)
            names.append(QStringLiteral("s%1.j").arg(i));
        if (sources > 0)
            Add(form, names);
        if (target)
            ChooseTarget(form, "out.j");
        Select(*form.ListBox1, selected);
        QTEST(Enabled(form), "enabled");
    }

    void fileDialogsAndCancel()
    {
        TMergeFileForm form(m_dialogs, m_stage);
        form.AddBtn->click(); // cancelled
        form.TargetBtn->click(); // cancelled
        QCOMPARE(form.ListBox1->count(), 0);
        QCOMPARE(form.TargetLbl->text(), QStringLiteral("Target File"));
        QCOMPARE(m_dialogs.History.size(), 2);
        const FileDialogOptions &open = m_dialogs.History.at(0).options;
        const FileDialogOptions &save = m_dialogs.History.at(1).options;
        QCOMPARE(open.title, QStringLiteral("Add Source File"));
        QCOMPARE(open.defaultExtension, QStringLiteral(".txt"));
        QCOMPARE(open.filters.size(), 4);
        QCOMPARE(open.filters.first().patterns, QStringLiteral("*.j;*.txt"));
        QCOMPARE(save.title, QString());
        QCOMPARE(save.defaultExtension, QStringLiteral(".j"));
        QVERIFY(save.confirmOverwrite);
        QCOMPARE(save.initialFolder, QStringLiteral("."));

        ChooseTarget(form, "merged.j");
        QCOMPARE(form.TargetLbl->text(), QStringLiteral("merged.j"));
        QCOMPARE(form.Target, Path("merged.j"));
    }

    void removeWalksBackAndSelectsTheNextRow()
    {
        TMergeFileForm form(m_dialogs, m_stage);
        Add(form, { "a.j", "b.j", "c.j", "a.j" }); // the same file may come twice
        Select(*form.ListBox1, { 0, 2 });
        form.RemoveBtn->click();
        QCOMPARE(Rows(*form.ListBox1), (QStringList { "b.j", "a.j" }));
        QCOMPARE(form.Sources, (QStringList { Path("b.j"), Path("a.j") }));
        // Each removed row hands its selection to the row that moves up into
        // its place: here both remaining rows.
        QCOMPARE(form.ListBox1->selectedItems().size(), 2);
        QCOMPARE(Enabled(form), QStringLiteral("---R"));
    }

    void movesKeepRowsAndSourcesTogether()
    {
        TMergeFileForm form(m_dialogs, m_stage);
        Add(form, { "a.j", "b.j", "c.j" });
        Select(*form.ListBox1, { 2 });
        form.MoveUpBtn->click();
        form.MoveUpBtn->click();
        QCOMPARE(Rows(*form.ListBox1), (QStringList { "c.j", "a.j", "b.j" }));
        QCOMPARE(form.Sources, (QStringList { Path("c.j"), Path("a.j"), Path("b.j") }));
        QCOMPARE(form.ListBox1->selectedItems().size(), 1);
        QVERIFY(form.ListBox1->item(0)->isSelected());
        QCOMPARE(Enabled(form), QStringLiteral("--DR"));
        form.MoveDownBtn->click();
        QCOMPARE(form.Sources, (QStringList { Path("a.j"), Path("c.j"), Path("b.j") }));
        QVERIFY(form.ListBox1->item(1)->isSelected());
    }

    void mergeReportsAndShowsSortedNames()
    {
        TMergeFileForm form(m_dialogs, m_stage);
        Write("m1.j", "function B takes nothing returns nothing\r\nendfunction\r\n");
        Write("m2.j", "globals\r\ninteger a\r\nendglobals\r\nnative C takes nothing returns nothing\r\n");
        Add(form, { "m1.j", "m2.j" });
        ChooseTarget(form, "m-out.j");
        Select(*form.ListBox1, { 1 });
        form.MergeBtn->click();

        QCOMPARE(m_dialogs.Messages(), QStringList { "Done merging files!\nOutput: m-out.j" });
        QVERIFY(QFile::exists(Path("m-out.j")));
        QCOMPARE(Rows(*form.ListBox1), (QStringList { "a", "B", "C" }));
        // The rows no longer name sources: only Merge and Add act now.
        Select(*form.ListBox1, { 1 });
        QCOMPARE(Enabled(form), QStringLiteral("M---"));
        QVERIFY(form.RowsShowNames());
        form.RemoveBtn->click();
        QCOMPARE(form.Sources.size(), 2);

        // Add brings the sources back, plus the new one.
        Add(form, { "m3.j" });
        QCOMPARE(Rows(*form.ListBox1), (QStringList { "m1.j", "m2.j", "m3.j" }));
        Select(*form.ListBox1, { 2 });
        QCOMPARE(Enabled(form), QStringLiteral("MU-R"));
    }

    void unreadableSourceStopsTheMerge()
    {
        TMergeFileForm form(m_dialogs, m_stage);
        Add(form, { "u1.j", "u2.j" });
        ChooseTarget(form, "u-out.j");
        QVERIFY(QFile::remove(Path("u2.j")));
        form.MergeBtn->click();

        QCOMPARE(m_dialogs.Kinds().last(), QStringLiteral("error"));
        QVERIFY(m_dialogs.History.last().text.contains(QStringLiteral("u2.j")));
        QVERIFY(!QFile::exists(Path("u-out.j")));
        QCOMPARE(Rows(*form.ListBox1), (QStringList { "u1.j", "u2.j" }));
        QVERIFY(!form.RowsShowNames());
    }
};

TOLVANE_TEST(MergeDialogTest);
#include "MergeDialogTest.moc"
