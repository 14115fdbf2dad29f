#include "ProgramSession.h"
#include "TestFiles.h"
#include "TestMaps.h"
#include "TestRegistry.h"

#include <QAction>
#include <QTest>

class MapDocumentTest : public QObject {
    Q_OBJECT

private slots:
    // How each way of opening a map leaves the document; `expected`: the caption, then the messages shown.
    void open_data()
    {
        QTest::addColumn<QString>("layout");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("Open") << ""
                              << "Open1" << QStringList { "Tolvane [map.w3x]" };
        QTest::newRow("Open Map Script") << ""
                                         << "OpenMapScript1" << QStringList { "Tolvane [map.w3x]" };
        QTest::newRow("Reopen") << ""
                                << "Reopen" << QStringList { "Tolvane [map.w3x]" };
        QTest::newRow("command line or drop") << ""
                                              << "Outside" << QStringList { "Tolvane [map.w3x]" };
        QTest::newRow("scripts folder") << "scripts"
                                        << "Open1" << QStringList { "Tolvane [map.w3x]" };
        QTest::newRow("signed") << "signed"
                                << "Open1"
                                << QStringList { "Tolvane [map.w3x] (read-only)",
                                       "The map \"%1\" opens read-only: it is signed" };
        QTest::newRow("Lua") << "Lua"
                             << "OpenMapScript1"
                             << QStringList { "Tolvane [old.j]", "The map \"%1\" holds a Lua script" };
    }
    void open()
    {
        QFETCH(QString, layout);
        QFETCH(QString, command);
        QFETCH(QStringList, expected);
        ProgramSession s;
        TMainForm &form = s.Start();
        const QString map = s.WorkFile("map.w3x");
        Maps::MapLayout shape;
        shape.signature = layout == "signed";
        QCOMPARE(MakeTestMap(map, shape,
                     layout == "Lua"           ? ""
                         : layout == "scripts" ? "scripts\\war3map.j"
                                               : "war3map.j",
                     layout == "Lua"),
            QString());
        QVERIFY(WriteAll(s.WorkFile("old.j"), "// old\r\n"));
        s.Dialogs.OpenAnswers = { s.WorkFile("old.j"), map };
        form.Open1->trigger();
        QAction reopen;
        reopen.setData(map);
        if (command == "Reopen")
            form.RecentFileClick(&reopen);
        else if (command == "Outside")
            form.OpenFilesFromOutside({ map });
        else
            form.findChild<QAction *>(command)->trigger();

        QCOMPARE(form.windowTitle(), expected.takeFirst());
        const QStringList messages = s.Dialogs.Messages();
        QCOMPARE(messages.size(), expected.size());
        for (qsizetype i = 0; i < messages.size(); ++i)
            QVERIFY2(messages[i].startsWith(expected[i].arg(map)), qPrintable(messages[i]));
        const bool opened = layout != "Lua";
        QCOMPARE(form.State.FileName, opened ? map : s.WorkFile("old.j"));
        QCOMPARE(form.Editbox->text(),
            opened ? "function main takes nothing returns nothing\r\nendfunction" : "// old");
        QCOMPARE(form.CheckedName(), opened ? "war3map.j" : s.WorkFile("old.j"));
    }

    // Save writes into the map; the backup keeps the map from before the first save, whatever follows.
    void saveIntoTheMap()
    {
        ProgramSession s;
        TMainForm &form = s.Start();
        const QString map = s.WorkFile("map.w3x");
        QCOMPARE(MakeTestMap(map), QString());
        const QByteArray original = ReadAll(map);
        s.Dialogs.OpenAnswers = { map };
        form.Open1->trigger();
        for (const char *line : { "// first", "// second" }) {
            form.Editbox->setText(line);
            form.Save1->trigger();
            QCOMPARE(Maps::ReadScript(map).script.bytes, QByteArray(line) + "\r\n");
        }
        QCOMPARE(ReadAll(Maps::BackupPath(map)), original);
        QCOMPARE(form.State.Modified, false);
        QCOMPARE(form.windowTitle(), "Tolvane [map.w3x]");
        QCOMPARE(s.Dialogs.Messages(), QStringList());
    }

    // Save on a map that must not be written says why and saves through Save As; cancelled, the
    // save-first step keeps the document.
    void saveReadOnlyMap()
    {
        ProgramSession s;
        TMainForm &form = s.Start();
        const QString map = s.WorkFile("map.w3x");
        Maps::MapLayout shape;
        shape.signature = true;
        QCOMPARE(MakeTestMap(map, shape), QString());
        const QByteArray original = ReadAll(map);
        s.Dialogs.OpenAnswers = { map };
        form.Open1->trigger();
        form.Editbox->setText("// edited");
        s.Dialogs.SaveAnswers = { "" };
        s.Dialogs.AnswerModal(ModalResult::Yes);
        form.New1->trigger();
        QCOMPARE(form.Editbox->text(), "// edited");
        s.Dialogs.SaveAnswers = { s.WorkFile("saved.j") };
        form.Save1->trigger();
        QCOMPARE(ReadAll(s.WorkFile("saved.j")), "// edited\r\n");
        QCOMPARE(ReadAll(map), original);
        QCOMPARE(form.windowTitle(), "Tolvane [saved.j]");
        QCOMPARE(s.Dialogs.Kinds(),
            (QStringList { "open", "message", "modal", "message", "save", "message", "save" }));
        QVERIFY(s.Dialogs.Messages().at(1).startsWith("The script cannot be saved into the map"));
    }
};

TOLVANE_TEST(MapDocumentTest);

#include "MapDocumentTest.moc"
