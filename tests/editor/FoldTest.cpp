#include "TestRegistry.h"

#include "editor/FoldLevels.h"
#include "editor/SyntaxEdit.h"

#include <QTest>

namespace {

// Each line as its depth, "+" when it opens a block: "0+ 1 0".
QString Levels(const QString &script)
{
    QStringList out;
    int state = 0;
    for (const QString &line : script.split(u'\n')) {
        const QByteArray bytes = line.toUtf8();
        const FoldLevels::LineFold fold
            = FoldLevels::ReadLine({ bytes.constData(), size_t(bytes.size()) }, state);
        out << QString::number(fold.depth) + (fold.opens ? "+" : "");
    }
    return out.join(u' ');
}

} // namespace

class FoldTest : public QObject {
    Q_OBJECT

private slots:
    void levels_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("levels");
        QTest::newRow("function") << "function F takes nothing returns nothing\n  call X()\nendfunction\n"
                                  << "0+ 1 1 0";
        QTest::newRow("if elseif else in a loop") << "loop\nif a then\nx\nelseif b then\nelse\nendif\nendloop"
                                                  << "0+ 1+ 2 1+ 1+ 2 1";
        QTest::newRow("globals, modifiers") << "globals\nendglobals\nprivate constant function F\nendfunction"
                                            << "0+ 1 0+ 1";
        QTest::newRow("vJASS blocks") << "library A requires B\nscope S\nprivate struct T\nstatic method m\n"
                                         "endmethod\nendstruct\nendscope\nendlibrary\nmodule M\nendmodule"
                                      << "0+ 1+ 2+ 3+ 4 3 2 1 0+ 1";
        QTest::newRow("declarations without a body")
            << "function interface F takes nothing returns nothing\ninterface I\nmethod m takes nothing "
               "returns "
               "nothing\nendinterface\nnative N takes nothing returns nothing"
            << "0 0+ 1 1 0";
        QTest::newRow("textmacro is read as one block")
            << "//! textmacro M\nfunction $X$ takes nothing returns nothing\n//! endtextmacro\nloop"
            << "0+ 1 1 0+";
        QTest::newRow("novjass and zinc")
            << "  //!  novjass\nif\n//! endnovjass\n//! zinc\nfunction f() {\n//! endzinc"
            << "0+ 1 1 0+ 1 1";
        QTest::newRow("inject is read") << "//! inject main\nloop\nendloop\n//! endinject"
                                        << "0+ 1+ 2 1";
        QTest::newRow("comments") << "// function F\n/* loop\n/* nested */ if\n*/ loop\nendloop /* if\n*/"
                                  << "0 0 0 0+ 1 0";
        QTest::newRow("strings hide comments") << "if \"/*\" then\nendif"
                                               << "0+ 1";
        QTest::newRow("case and whole words") << "Function F\nloopy\nendloop"
                                              << "0 0 0";
        QTest::newRow("byte order mark") << "\xEF\xBB\xBF"
                                            "function F\nendfunction"
                                         << "0+ 1";
        QTest::newRow("stray closers and else") << "endif\nelse\nendif\nendloop"
                                                << "0 0+ 1 0";
    }

    void levels()
    {
        QFETCH(QString, script);
        QFETCH(QString, levels);
        QCOMPARE(Levels(script), levels);
    }

    void deepNestingStopsAtTheLimit()
    {
        int state = 0;
        for (int i = 0; i < FoldLevels::kMaxDepth + 10; ++i)
            FoldLevels::ReadLine("if", state);
        QCOMPARE(FoldLevels::DepthAfter(state), FoldLevels::kMaxDepth);
        QVERIFY(!FoldLevels::ReadLine("loop", state).opens);
    }

    // Folding changes neither the text, nor the undo history, nor the
    // modified state; a selection in a folded block unfolds it.
    void foldingIsTheViewsAlone()
    {
        TSyntaxEdit edit;
        edit.setFolding(true);
        edit.resize(400, 300);
        edit.show();
        QStringList lines;
        for (int f = 0; f < 3; ++f)
            lines << QString("function F%1 takes nothing returns nothing").arg(f) << "    if x then"
                  << "        call X()"
                  << "    endif"
                  << "endfunction";
        edit.setLines(lines);
        const QString text = edit.text();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));

        edit.setSelStart(edit.lineIndex(2) + 4);
        QVERIFY(edit.fold(2));
        QVERIFY(edit.isFolded(1));
        QVERIFY(!edit.isLineShown(3) && edit.isLineShown(4));
        QVERIFY(edit.fold(1));
        QVERIFY(edit.isFolded(0) && !edit.isLineShown(1) && !edit.isLineShown(4) && edit.isLineShown(5));
        QCOMPARE(edit.caretPosition(), 0);
        QVERIFY(edit.fold(9) && edit.isFolded(5));
        QCOMPARE(edit.text(), text);
        QVERIFY(!edit.isModified() && !edit.isUndoAvailable());

        QVERIFY(edit.unfold(0));
        QVERIFY(edit.isLineShown(1) && !edit.isLineShown(2));
        edit.select(edit.lineIndex(2), 4);
        QVERIFY(edit.isLineShown(2) && !edit.isFolded(1));

        edit.FoldFunctions();
        QVERIFY(edit.isFolded(0) && edit.isFolded(5) && edit.isFolded(10));
        QVERIFY(!edit.isLineShown(14) && edit.isLineShown(10));
        QCOMPARE(edit.lineFromChar(-1), 0);
        QCOMPARE(edit.text(), text);
        QVERIFY(!edit.isModified() && !edit.isUndoAvailable());

        // An edit that takes a block's first word away shows its lines.
        edit.select(edit.lineIndex(5), 0);
        edit.replaceSelection("//");
        edit.viewport()->repaint();
        QVERIFY(edit.isLineShown(6) && edit.isFolded(10));
    }

    // The functions inside a block fold, the block stays open, and a block
    // folded before stays folded.
    void foldFunctionsInsideBlocks()
    {
        TSyntaxEdit edit;
        edit.setFolding(true);
        edit.setLines({ "library L", "globals", "endglobals", "struct S",
            "method m takes nothing returns nothing", "call X()", "endmethod", "endstruct",
            "function F takes nothing returns nothing", "endfunction", "endlibrary" });
        QVERIFY(edit.fold(1));
        edit.FoldFunctions();
        QVERIFY(!edit.isFolded(0) && edit.isFolded(1) && !edit.isFolded(3) && edit.isFolded(4));
        QVERIFY(!edit.isLineShown(5) && edit.isLineShown(7) && edit.isFolded(8) && !edit.isLineShown(9));
        QVERIFY(edit.isLineShown(10));
    }
};

TOLVANE_TEST(FoldTest);

#include "FoldTest.moc"
