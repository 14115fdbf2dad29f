#include "TestRegistry.h"

#include "editor/SyntaxEdit.h"
#include "langdata/Catalogue.h"
#include "langdata/TypeFilterMenu.h"
#include "mainwindow/ExplorerFilter.h"
#include "mainwindow/FlatTabStrip.h"
#include "mainwindow/Main.h"
#include "platform/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <memory>

namespace {

const QString kGetUnitX = QStringLiteral("GetUnitX takes unit whichUnit returns real");

// The main window started in a folder holding the explorer's language files:
// two function files that both declare AbcDef, constants, AI functions and AI
// globals.
class ExplorerSession {
public:
    ExplorerSession()
        : m_oldCurrent(QDir::currentPath())
    {
        const QDir data(QStringLiteral(TOLVANE_TEST_DATA_DIR "/explorer"));
        for (const QString &name : data.entryList(QDir::Files))
            QFile::copy(data.filePath(name), Work.filePath(name));
        QDir::setCurrent(Work.path());
        Form = std::make_unique<TMainForm>(Dialogs, Work.path(), Work.path());
        Form->show();
    }
    ~ExplorerSession()
    {
        Form.reset();
        QDir::setCurrent(m_oldCurrent);
    }
    ExplorerSession(const ExplorerSession &) = delete;
    ExplorerSession &operator=(const ExplorerSession &) = delete;

    void Activate()
    {
        Form->activateWindow();
        QApplication::setActiveWindow(Form.get());
        QVERIFY(QTest::qWaitForWindowActive(Form.get()));
    }

    void ChooseTab(int index)
    {
        Form->TabControl1->findChildren<QAbstractButton *>().at(index)->click();
        QCOMPARE(Form->TabControl1->currentIndex(), index);
    }

    QAction *TypeItem(const QString &caption) const
    {
        QList<QAction *> items = Form->PopupMenu1->actions();
        items += Form->PopupMenu1->Other1->actions();
        for (QAction *item : items) {
            if (TypeFilterMenu::Caption(item) == caption)
                return item;
        }
        return nullptr;
    }

    QStringList Listed() const
    {
        QStringList texts;
        for (int i = 0; i < Form->Functionlist->count(); ++i)
            texts.append(Form->Functionlist->item(i)->text());
        return texts;
    }

    // The list shows the selected category's ShownNames, and every shown line
    // declares the name beside it.
    void VerifyIndexMatch() const
    {
        const int tab = Form->TabControl1->currentIndex();
        const DeclarationCategory &category = Form->State.Declarations.Categories[size_t(tab)];
        QCOMPARE(Listed(), category.ShownNames);
        for (int c = 0; c < kCategoryCount; ++c) {
            const DeclarationCategory &each = Form->State.Declarations.Categories[size_t(c)];
            QCOMPARE(each.ShownLines.size(), each.ShownNames.size());
            for (qsizetype i = 0; i < each.ShownNames.size(); ++i)
                QCOMPARE(DeclarationName(CategoryKind(c), each.ShownLines.at(i)), each.ShownNames.at(i));
        }
    }

    QTemporaryDir Work;
    ScriptedDialogService Dialogs;
    std::unique_ptr<TMainForm> Form;

private:
    QString m_oldCurrent;
};

} // namespace

class ExplorerTest : public QObject {
    Q_OBJECT

private slots:
    void searchText_data()
    {
        QTest::addColumn<QStringList>("typed"); // each set in turn
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("abc") << QStringList { "abc" } << QStringList { "AbcDef", "abcx" };
        QTest::newRow("ABC") << QStringList { "ABC" } << QStringList { "AbcDef", "abcx" };
        QTest::newRow("x, not a substring") << QStringList { "x" } << QStringList { "XAbc" };
        QTest::newRow("abcx, longer than AbcDef") << QStringList { "abcx" } << QStringList { "abcx" };
        QTest::newRow("abc then cleared") << QStringList { "abc",
            "" } << QStringList { "AbcDef", "abcx", "Capital", "GetLoc", "GetUnitX", "Shared", "XAbc" };
    }
    void searchText()
    {
        QFETCH(QStringList, typed);
        QFETCH(QStringList, listed);
        ExplorerSession s;
        // Right after start a name declared twice is listed twice.
        QCOMPARE(s.Listed().count("AbcDef"), 2);
        for (const QString &text : typed)
            s.Form->FunctionSearch->setText(text);
        QCOMPARE(s.Listed(), listed);
        s.VerifyIndexMatch();
    }

    void emptyNameStaysListedAfterTheSearchIsCleared()
    {
        Catalogue catalogue;
        catalogue[CategoryKind::AIGlobals].Lines = QStringList { "integer array" };
        catalogue[CategoryKind::AIGlobals].Names = QStringList { AIGlobalName("integer array") };
        ExplorerFilter filter;
        filter.Apply(catalogue, "a", {});
        filter.Apply(catalogue, QStringLiteral(""), {});
        QCOMPARE(catalogue[CategoryKind::AIGlobals].ShownNames, QStringList { "" });
    }

    void typedKeysFilter()
    {
        ExplorerSession s;
        QTest::keyClicks(s.Form->FunctionSearch, "getu");
        QCOMPARE(s.Listed(), QStringList { "GetUnitX" });
        QTest::keyClick(s.Form->FunctionSearch, Qt::Key_Down);
        QVERIFY(s.Form->PopupMenu1->isVisible());
        QCOMPARE(s.Form->FunctionSearch->text(), QStringLiteral("getu"));
        s.Form->PopupMenu1->hide();
    }

    void typeFilter_data()
    {
        QTest::addColumn<QStringList>("chosen"); // captions clicked in turn
        QTest::addColumn<int>("tab");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("pressed");
        QTest::newRow("Integer, functions")
            << QStringList { "Integer" } << 0 << QStringList { "AbcDef", "Shared" } << true;
        // "constant integer X = 1" is listed under its type word.
        QTest::newRow("Integer, constants")
            << QStringList { "Integer" } << 1 << QStringList { "bj_MAX", "integer" } << true;
        QTest::newRow("Integer, AI globals")
            << QStringList { "Integer" } << 3 << QStringList { "AI_SLOTS" } << true;
        QTest::newRow("Boolean, AI functions")
            << QStringList { "Boolean" } << 2 << QStringList { "Shared" } << true;
        QTest::newRow("location, under Other")
            << QStringList { "location" } << 0 << QStringList { "GetLoc" } << true;
        QTest::newRow("Integer then Any Type")
            << QStringList { "Integer", "Any Type" } << 1
            << QStringList { "bj_lastUnit", "bj_MAX", "bj_PI", "integer" } << false;
    }
    void typeFilter()
    {
        QFETCH(QStringList, chosen);
        QFETCH(int, tab);
        QFETCH(QStringList, listed);
        QFETCH(bool, pressed);
        ExplorerSession s;
        if (tab != 0)
            s.ChooseTab(tab);
        QAction *item = nullptr;
        for (const QString &caption : chosen) {
            item = s.TypeItem(caption);
            QVERIFY2(item != nullptr, qPrintable(caption));
            item->trigger();
        }
        QCOMPARE(s.Listed(), listed);
        QCOMPARE(s.Form->SortMethodBtn->isChecked(), pressed);
        QCOMPARE(s.Form->PopupMenu1->DefaultItem(), item);
        s.VerifyIndexMatch();
    }

    void sortButtonPressedExactlyWhileATypeIsChosen()
    {
        ExplorerSession s;
        s.Form->SortMethodBtn->click();
        QVERIFY(s.Form->PopupMenu1->isVisible());
        s.Form->PopupMenu1->hide();
        QVERIFY(!s.Form->SortMethodBtn->isChecked());
        s.TypeItem("Real")->trigger();
        s.Form->SortMethodBtn->click();
        s.Form->PopupMenu1->hide();
        QVERIFY(s.Form->SortMethodBtn->isChecked());
    }

    void tabSwitchShowsTheFilteredCategory()
    {
        ExplorerSession s;
        s.Form->FunctionSearch->setText("bj_");
        QCOMPARE(s.Listed(), QStringList());
        s.ChooseTab(1);
        QCOMPARE(s.Listed(), (QStringList { "bj_lastUnit", "bj_MAX", "bj_PI" }));
        QCOMPARE(s.Form->FunctionSearch->text(), QStringLiteral("bj_"));
        s.VerifyIndexMatch();
    }

    void clickShowsTheDeclarationAndDoubleClickReplacesTheSelection()
    {
        ExplorerSession s;
        s.Activate();
        s.Form->Editbox->setText("call Shared()");
        s.Form->Editbox->select(5, 6);
        s.Form->FunctionSearch->setText("GetU");
        QListWidget *list = s.Form->Functionlist;
        // A double-click: the first click selects, the second click's press
        // comes as the double-click.
        const QPoint entry = list->visualItemRect(list->item(0)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, entry);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, entry);
        QCOMPARE(s.Form->Editbox->text(), QStringLiteral("call GetUnitX()"));
        QCOMPARE(s.Form->Editbox->selStart(), 13);
        QVERIFY(s.Form->State.Modified);
        // The word replaced ("Shared") does not take over the preview.
        QCOMPARE(s.Form->HelpEdit->text(), kGetUnitX);
        // Coloured with the words the editor knows.
        QCOMPARE(s.Form->HelpEdit->attributesAt(0).color, FunctionWordClass().Color);
        QCOMPARE(QApplication::focusWidget(), list);
        QVERIFY(!s.Form->Editbox->hideSelection());
        s.Form->Editbox->setFocus();
        QVERIFY(s.Form->Editbox->hideSelection());
    }

    void clickOnAnEmptyListKeepsThePreview()
    {
        ExplorerSession s;
        s.Form->ShowDeclaration(kGetUnitX);
        s.Form->FunctionSearch->setText("zzz");
        QCOMPARE(s.Form->Functionlist->count(), 0);
        QTest::mouseClick(s.Form->Functionlist->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
        s.Form->FunctionListClick();
        s.Form->FunctionListDblClick();
        QCOMPARE(s.Form->HelpEdit->text(), kGetUnitX);
        QCOMPARE(s.Form->Editbox->text(), QString());
    }

    void selectionPreview_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("preview"); // empty: left as it was
        QTest::newRow("exact name") << "call GetUnitX(u)" << 5 << 8 << "1 : 6" << kGetUnitX;
        QTest::newRow("other case") << "call getunitx(u)" << 5 << 8 << "1 : 6"
                                    << "";
        QTest::newRow("leading space") << "call GetUnitX(u)" << 4 << 9 << "1 : 5" << kGetUnitX;
        QTest::newRow("words after the name") << "bj_PI and more" << 0 << 14 << "1 : 1"
                                              << "real bj_PI = 3.14";
        QTest::newRow("function beats AI function") << "Shared" << 0 << 6 << "1 : 1"
                                                    << "Shared takes nothing returns integer";
        QTest::newRow("AI global") << "x AI_SLOTS" << 2 << 8 << "1 : 3"
                                   << "constant integer array AI_SLOTS";
        QTest::newRow("caret only") << "call GetUnitX(u)" << 9 << 0 << "1 : 10"
                                    << "";
        // A line break counts two characters.
        QTest::newRow("second line, fourth column") << "abc\r\nGetUnitX" << 8 << 0 << "2 : 4"
                                                    << "";
    }
    void selectionPreview()
    {
        QFETCH(QString, text);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(QString, position);
        QFETCH(QString, preview);
        ExplorerSession s;
        s.Form->Editbox->setText(text);
        const QString before = QStringLiteral("AIOnly takes nothing returns nothing");
        s.Form->ShowDeclaration(before);
        s.Form->Editbox->select(start, length);
        QCOMPARE(s.Form->StatusPanel->text(), position);
        QCOMPARE(s.Form->HelpEdit->text(), preview.isEmpty() ? before : preview);
        QVERIFY(s.Form->HelpEdit->AllowInvalidate);
        QVERIFY(s.Form->HelpEdit->isEnabled());
    }
};

TOLVANE_TEST(ExplorerTest);
#include "ExplorerTest.moc"
