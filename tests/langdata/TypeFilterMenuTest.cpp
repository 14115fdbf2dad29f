#include "TestRegistry.h"

#include "langdata/Catalogue.h"
#include "langdata/TypeFilterMenu.h"

#include <QKeySequence>
#include <QSignalSpy>
#include <QTest>

namespace {

Catalogue WithFunctionLines(const QStringList &functions, const QStringList &aiFunctions = {})
{
    Catalogue catalogue;
    catalogue[CategoryKind::Functions].Lines = functions;
    catalogue[CategoryKind::AIFunctions].Lines = aiFunctions;
    return catalogue;
}

QStringList Captions(const QList<QAction *> &items)
{
    QStringList captions;
    for (const QAction *item : items)
        captions.append(TypeFilterMenu::Caption(item));
    return captions;
}

} // namespace

class TypeFilterMenuTest : public QObject {
    Q_OBJECT

private slots:
    void fixedItems()
    {
        TypeFilterMenu menu;
        const QList<QAction *> items = menu.actions();
        const QStringList names = { "None1", "Unit1", "Integer1", "Real1", "Boolean1", "Group1", "Player1",
            "String1", "Nothing1" };
        QCOMPARE(Captions(items),
            QStringList({ "Any Type", "Unit", "Integer", "Real", "Boolean", "Group", "Player", "String",
                "Nothing", "Other" }));
        for (qsizetype i = 0; i < names.size(); ++i) {
            QCOMPARE(items.at(i)->objectName(), names.at(i));
            QCOMPARE(menu.findChild<QAction *>(names.at(i)), items.at(i));
            QVERIFY(QKeySequence::mnemonic(items.at(i)->text()).isEmpty());
        }
        QCOMPARE(items.last()->menu(), menu.Other1);
        QCOMPARE(menu.Other1->objectName(), "Other1");
        QVERIFY(menu.Other1->actions().isEmpty());
        QCOMPARE(menu.DefaultItem(), menu.None1);
        QVERIFY(menu.None1->font().bold());
        QVERIFY(!menu.Unit1->font().bold());
    }

    void everyTypeItemReportsItsClick()
    {
        TypeFilterMenu menu;
        BuildTypeMenu(menu, WithFunctionLines({ "A takes nothing returns timer" }));
        QSignalSpy clicks(&menu, &TypeFilterMenu::TypeSortClick);
        QList<QAction *> items = menu.actions();
        items.removeLast(); // "Other" only opens its submenu
        items += menu.Other1->actions();
        for (QAction *item : items)
            item->trigger();
        QCOMPARE(clicks.size(), items.size());
        for (qsizetype i = 0; i < items.size(); ++i)
            QCOMPARE(clicks.at(i).at(0).value<QAction *>(), items.at(i));
        menu.Other1->menuAction()->trigger();
        QCOMPARE(clicks.size(), items.size());
    }

    void buildAddsFunctionReturnTypesUnderOther()
    {
        TypeFilterMenu menu;
        BuildTypeMenu(menu,
            WithFunctionLines({ "A takes nothing returns unit", "B takes nothing returns Location",
                                  "C takes nothing returns location", "D takes nothing returns a&b",
                                  "E takes nothing returns effect" },
                { "F takes nothing returns captain" }));
        const QList<QAction *> children = menu.Other1->actions();
        QCOMPARE(Captions(children), QStringList({ "a&b", "effect", "Location" }));
        QCOMPARE(children.at(0)->text(), "a&&b");
        for (const QAction *child : children)
            QVERIFY(QKeySequence::mnemonic(child->text()).isEmpty());
        QCOMPARE(menu.actions().size(), 10);
    }

    void noExtraTypesLeaveOtherEmpty()
    {
        TypeFilterMenu menu;
        BuildTypeMenu(
            menu, WithFunctionLines({ "A takes nothing returns integer", "", "B returns nothing " }));
        QVERIFY(menu.Other1->actions().isEmpty());
    }

    void defaultItemIsTheOnlyBoldOne()
    {
        TypeFilterMenu menu;
        BuildTypeMenu(menu, WithFunctionLines({ "A takes nothing returns timer" }));
        QAction *timer = menu.Other1->actions().first();
        menu.SetDefaultItem(timer);
        QCOMPARE(menu.DefaultItem(), timer);
        QVERIFY(!menu.None1->font().bold());
        menu.SetDefaultItem(menu.Integer1);
        QVERIFY(!timer->font().bold());
        QCOMPARE(menu.DefaultItem(), menu.Integer1);
    }
};

TOLVANE_TEST(TypeFilterMenuTest);
#include "TypeFilterMenuTest.moc"
