#include "TestRegistry.h"

#include "platform/TextMarks.h"

#include <QTest>

namespace {

// Marks on lines 2, 5 (two) and 9 of a ten-line text, written "line:column".
TextMarks SampleMarks()
{
    TextMarks marks;
    marks.Set({ { 9, 0, 1, TextMarks::Kind::Error, "d" }, { 5, 4, 2, TextMarks::Kind::Warning, "c" },
                  { 2, 3, 1, TextMarks::Kind::Error, "a" }, { 5, 1, 1, TextMarks::Kind::Error, "b" } },
        10);
    return marks;
}

QString Positions(const TextMarks &marks)
{
    QStringList out;
    for (const TextMarks::Mark &m : marks.All())
        out.append(QStringLiteral("%1:%2").arg(m.line).arg(m.column));
    return out.join(u' ');
}

} // namespace

class TextMarksTest : public QObject {
    Q_OBJECT

private slots:
    void edits_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<int>("lineCount");
        QTest::addColumn<QString>("after");
        QTest::addColumn<bool>("changed");
        QTest::newRow("unedited: text order") << -1 << -1 << 10 << "2:3 5:1 5:4 9:0" << false;
        QTest::newRow("typing on line 7") << 7 << 7 << 10 << "2:3 5:1 5:4 9:0" << false;
        QTest::newRow("typing on line 5") << 5 << 5 << 10 << "2:3 9:0" << true;
        QTest::newRow("Enter on line 3") << 3 << 4 << 11 << "2:3 6:1 6:4 10:0" << true;
        QTest::newRow("two lines pasted into line 0") << 0 << 2 << 12 << "4:3 7:1 7:4 11:0" << true;
        QTest::newRow("lines 3 and 4 joined") << 3 << 3 << 9 << "2:3 4:1 4:4 8:0" << true;
        QTest::newRow("lines 4 to 6 cleared into one") << 4 << 4 << 8 << "2:3 7:0" << true;
        QTest::newRow("whole text replaced") << 0 << 0 << 1 << "" << true;
    }
    void edits()
    {
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(int, lineCount);
        QFETCH(QString, after);
        QFETCH(bool, changed);
        TextMarks marks = SampleMarks();
        if (first >= 0)
            QCOMPARE(marks.Edited(first, last, lineCount), changed);
        QCOMPARE(Positions(marks), after);
    }

    void nextAndPrevious_data()
    {
        QTest::addColumn<int>("line");
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("next");
        QTest::addColumn<int>("previous");
        QTest::newRow("start of the text") << 0 << 0 << 0 << 3;
        QTest::newRow("on the first mark") << 2 << 3 << 1 << 3;
        QTest::newRow("between the marks of line 5") << 5 << 2 << 2 << 1;
        QTest::newRow("on the last mark, wrapping") << 9 << 0 << 0 << 2;
        QTest::newRow("past the last mark") << 9 << 5 << 0 << 3;
    }
    void nextAndPrevious()
    {
        QFETCH(int, line);
        QFETCH(int, column);
        const TextMarks marks = SampleMarks();
        QTEST(marks.Next(line, column), "next");
        QTEST(marks.Previous(line, column), "previous");
        QCOMPARE(TextMarks().Next(line, column), -1);
    }
};

TOLVANE_TEST(TextMarksTest);
#include "TextMarksTest.moc"
