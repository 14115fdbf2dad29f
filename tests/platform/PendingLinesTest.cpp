#include "TestRegistry.h"

#include "platform/PendingLines.h"

#include <QTest>

class PendingLinesTest : public QObject {
    Q_OBJECT

private slots:
    // Steps "add A B", "take A B" (what it took: "took ...") and "edit LINE COUNT",
    // and the ranges that wait afterwards.
    void rangesFollowTheLines_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("waiting");
        QTest::newRow("touching ranges merge") << "add 0 4; add 5 9; add 20 20"
                                               << "0-9 20-20";
        QTest::newRow("take splits a range") << "add 0 9; take 3 4"
                                             << "took 3-4; 0-2 5-9";
        QTest::newRow("take across ranges") << "add 0 2; add 5 9; take 1 6"
                                            << "took 1-2 5-6; 0-0 7-9";
        QTest::newRow("lines added inside") << "add 2 4; edit 3 2"
                                            << "2-6";
        QTest::newRow("lines added above") << "add 5 6; edit 1 3"
                                           << "8-9";
        QTest::newRow("lines added below") << "add 5 6; edit 7 3"
                                           << "5-6";
        QTest::newRow("split line passes on waiting") << "add 5 5; edit 5 2"
                                                      << "5-7";
        QTest::newRow("lines removed above") << "add 5 6; edit 1 -3"
                                             << "2-3";
        QTest::newRow("removed line joins in") << "add 5 6; edit 3 -2"
                                               << "3-4";
        QTest::newRow("all removed lines wait") << "add 2 3; edit 1 -4"
                                                << "1-1";
        QTest::newRow("removed lines below") << "add 2 3; edit 5 -4"
                                             << "2-3";
    }
    void rangesFollowTheLines()
    {
        QFETCH(QString, steps);
        QFETCH(QString, waiting);
        PendingLines pending;
        QStringList seen;
        for (const QString &step : steps.split(u';')) {
            const QStringList words = step.simplified().split(u' ');
            const int a = words.at(1).toInt();
            const int b = words.at(2).toInt();
            if (words.first() == u"add") {
                pending.Add(a, b);
            } else if (words.first() == u"edit") {
                pending.LinesAdded(a, b);
            } else {
                QStringList took;
                for (const auto &[first, last] : pending.Take(a, b))
                    took << QStringLiteral("%1-%2").arg(first).arg(last);
                seen << QStringLiteral("took ") + took.join(u' ');
            }
        }
        QStringList left;
        for (int first = pending.First(); first >= 0; first = pending.First()) {
            int last = first;
            while (pending.Contains(last + 1))
                ++last;
            left << QStringLiteral("%1-%2").arg(first).arg(last);
            (void)pending.Take(first, last);
        }
        seen << left.join(u' ');
        QCOMPARE(seen.join(QLatin1String("; ")), waiting);
    }
};

TOLVANE_TEST(PendingLinesTest);
#include "PendingLinesTest.moc"
