#include "ProgramSession.h"
#include "TestRegistry.h"

#include "mainwindow/OutlinePanel.h"
#include "mainwindow/SymbolBox.h"
#include "mainwindow/SymbolNavigator.h"

#include <QAction>
#include <QLineEdit>
#include <QTest>
#include <QTreeView>

namespace {

const char kScript[] = "library Stacks\n"
                       "struct IntStack\n"
                       "    static method create takes nothing returns thistype\n"
                       "        return thistype.allocate()\n"
                       "    endmethod\n"
                       "    method pushValue takes integer v returns nothing\n"
                       "    endmethod\n"
                       "endstruct\n"
                       "endlibrary\n"
                       "function  Stack_Init takes nothing returns nothing\n"
                       "endfunction\n";

class NavigateSession : public ProgramSession {
public:
    NavigateSession()
    {
        Start();
        // For the shortcut and the focus.
        [[maybe_unused]] const bool active = QTest::qWaitForWindowActive(&Form());
        Editbox().setText(QString::fromLatin1(kScript));
        Editbox().setSelStart(0);
        Editbox().setFocus();
    }
    SymbolNavigator &Navigator() { return *Form().Navigator; }
};

} // namespace

class NavigateTest : public QObject {
    Q_OBJECT

private slots:
    // Keys typed in the box: "↓" Down, "\r" Enter, "\x1b" Escape.
    void goToSymbol_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("line"); // 1-based, of the caret
        QTest::newRow("push") << QString("push\r") << "pushValue" << 6;
        QTest::newRow("stack: prefix first, then a word inside") << QString("stack↓↓\r") << "IntStack" << 2;
        QTest::newRow("stack: \"_\" before letters") << QString("stack\r") << "Stack_Init" << 10;
        QTest::newRow("Escape") << QString("push\x1b") << "" << 1;
        QTest::newRow("nothing found, Enter") << QString("zz\r") << "" << 1;
    }
    void goToSymbol()
    {
        QFETCH(QString, keys);
        QFETCH(QString, selected);
        QFETCH(int, line);
        NavigateSession s;
        QTest::keyClick(&s.Editbox(), Qt::Key_O, Qt::ControlModifier | Qt::ShiftModifier);
        SymbolBox &box = *s.Navigator().SymbolBox1;
        QVERIFY(box.IsOpen());
        for (const QChar c : keys) {
            const Qt::Key key = c == u'↓' ? Qt::Key_Down : c == u'\r' ? Qt::Key_Return : Qt::Key_Escape;
            if (c.isLetter())
                QTest::keyClicks(box.SymbolSearch, QString(c));
            else
                QTest::keyClick(box.SymbolSearch, key);
        }
        QCOMPARE(s.Editbox().selText(), selected);
        QCOMPARE(s.Editbox().lineFromChar(s.Editbox().selStart()) + 1, line);
        QCOMPARE(box.IsOpen(), keys.endsWith(u'\r') && selected.isEmpty());
        QTest::keyClick(&s.Editbox(), Qt::Key_Left, Qt::AltModifier); // back where it was
        QCOMPARE(s.Editbox().selStart(), 0);
    }

    void outline_data()
    {
        QTest::addColumn<int>("line"); // 1-based, of the caret
        QTest::addColumn<QString>("current");
        QTest::newRow("in a method") << 4 << "create";
        QTest::newRow("struct line") << 2 << "IntStack";
        QTest::newRow("endlibrary") << 9 << "Stacks";
        QTest::newRow("last line") << 12 << "";
    }
    void outline()
    {
        QFETCH(int, line);
        QFETCH(QString, current);
        NavigateSession s;
        QVERIFY(!s.Navigator().Outline->isVisible());
        s.Navigator().Outline1->trigger();
        OutlinePanel &outline = *s.Navigator().Outline;
        QVERIFY(outline.isVisible());
        QCOMPARE(outline.OutlineTree->model()->rowCount(), 2); // the library and the function
        s.Editbox().setSelStart(s.Editbox().lineIndex(line - 1));
        QCOMPARE(outline.OutlineTree->currentIndex().data().toString(), current);
        if (current.isEmpty())
            return;
        // Enter on the row goes there, the name selected.
        outline.OutlineTree->setFocus();
        QTest::keyClick(outline.OutlineTree, Qt::Key_Return);
        QCOMPARE(s.Editbox().selText(), current);
        QVERIFY(s.Editbox().hasFocus());
    }

    // Typing goes on while the outline is open: a while after, the outline
    // holds what was typed.
    void outlineFollowsTyping()
    {
        NavigateSession s;
        s.Navigator().OutlineDelayMs = 0;
        s.Navigator().Outline1->trigger();
        s.Editbox().setSelStart(s.Editbox().textLength());
        QTest::keyClicks(&s.Editbox(), "function Later takes nothing returns nothing");
        const QAbstractItemModel &model = *s.Navigator().Outline->OutlineTree->model();
        QTRY_COMPARE(model.rowCount(), 3);
        QCOMPARE(model.index(2, 0).data().toString(), "Later");
    }
};

TOLVANE_TEST(NavigateTest);
#include "NavigateTest.moc"
