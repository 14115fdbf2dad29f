#include "TestRegistry.h"

#include "platform/StringLists.h"

#include <QTest>

class StringListsTest : public QObject
{
    Q_OBJECT

private slots:
    void caseInsensitiveSortFollowsLocale()
    {
        QStringList list{"beta", "Alpha", "alpha", "Gamma", "_x", "Beta"};
        StringLists::Sort(list, StringComparer::CaseInsensitive());
        // Equal spellings keep their order; letters ignore case.
        QCOMPARE(list.indexOf("Alpha") < list.indexOf("alpha"), true);
        QCOMPARE(list.indexOf("beta") < list.indexOf("Beta"), true);
        QVERIFY(list.indexOf("alpha") < list.indexOf("beta"));
        QVERIFY(list.indexOf("Beta") < list.indexOf("Gamma"));
    }

    // CTest runs this in en_US and in C, whose own collator compares code
    // points ("a1" before "a_1", "Zed" before "abc"): one order in both.
    void sortKeysOrderAsTheComparison()
    {
        const QStringList sorted { "_u", "a_1", "a1", "abc", "Abc", "bj_x", "BlzY", "Zed" };
        for (const StringComparer *cmp :
            { &StringComparer::CaseInsensitive(), &StringComparer::CaseSensitive() }) {
            for (qsizetype i = 1; i < sorted.size(); ++i) {
                const int c = cmp->Compare(sorted[i - 1], sorted[i]);
                QVERIFY(c < 0 || (c == 0 && cmp == &StringComparer::CaseInsensitive()));
                QCOMPARE(cmp->SortKey(sorted[i - 1]).compare(cmp->SortKey(sorted[i])) < 0, c < 0);
            }
        }
    }

    void caseSensitiveComparerSeparatesSpellings()
    {
        const StringComparer &cs = StringComparer::CaseSensitive();
        QVERIFY(cs.Compare("Call", "call") != 0);
        QCOMPARE(cs.Compare("call", "call"), 0);
        QCOMPARE(StringComparer::CaseInsensitive().Compare("Call", "call"), 0);
    }

    void keptSortedListDropsEqualEntries()
    {
        QStringList list;
        const StringComparer &ci = StringComparer::CaseInsensitive();
        QCOMPARE(StringLists::InsertSorted(list, "b", ci), 0);
        QCOMPARE(StringLists::InsertSorted(list, "a", ci), 0);
        QCOMPARE(StringLists::InsertSorted(list, "B", ci), -1);
        QCOMPARE(StringLists::InsertSorted(list, "c", ci), 2);
        QCOMPARE(list, (QStringList{"a", "b", "c"}));

        QStringList sensitive;
        const StringComparer &cs = StringComparer::CaseSensitive();
        StringLists::InsertSorted(sensitive, "b", cs);
        QVERIFY(StringLists::InsertSorted(sensitive, "B", cs) >= 0);
        QCOMPARE(sensitive.size(), 2);
    }

    void findSortedAgreesWithSort()
    {
        QStringList list{"Unit", "unit", "integer", "real", "Real", "boolean", "code", "a_b", "ab"};
        for (const StringComparer *cmp : {&StringComparer::CaseInsensitive(), &StringComparer::CaseSensitive()}) {
            QStringList sorted = list;
            StringLists::Sort(sorted, *cmp);
            for (const QString &word : list) {
                const auto hit = StringLists::FindSorted(sorted, word, *cmp);
                QVERIFY2(hit.found, qPrintable(word));
                QCOMPARE(cmp->Compare(sorted.at(hit.index), word), 0);
            }
            QVERIFY(!StringLists::FindSorted(sorted, "zzz", *cmp).found);
            QCOMPARE(StringLists::FindSorted(sorted, "zzz", *cmp).index, sorted.size());
            QVERIFY(!StringLists::FindSorted({}, "a", *cmp).found);
        }
    }
};

TOLVANE_TEST(StringListsTest);
#include "StringListsTest.moc"
