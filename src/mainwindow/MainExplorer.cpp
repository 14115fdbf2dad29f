// The function explorer: the search box, the type menu and its button, the
// category tabs and the list, whose entry i is always entry i of the shown
// category's ShownNames, with its declaration at entry i of ShownLines.
#include "Main.h"

#include "FlatTabStrip.h"
#include "editor/SyntaxEdit.h"
#include "langdata/TypeFilterMenu.h"

#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QToolBar>
#include <QToolButton>

namespace {

// Hands the key and focus events of the search box and the list to the main
// window's handlers; the events go on to the controls.
class ExplorerEvents : public QObject {
public:
    explicit ExplorerEvents(TMainForm &form)
        : QObject(&form)
        , m_form(form)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (watched == m_form.FunctionSearch) {
                auto *key = static_cast<QKeyEvent *>(event);
                m_form.RunCommand([this, key] { m_form.FunctionSearchKeyUp(key); });
            }
            break;
        case QEvent::FocusIn:
        case QEvent::FocusOut: {
            // Another window or a menu taking the keyboard for a while does
            // not move the focus away from the explorer.
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                break;
            if (event->type() == QEvent::FocusIn)
                m_form.RunCommand([this] { m_form.FunctionSearchEnter(); });
            else
                m_form.RunCommand([this] { m_form.FunctionSearchExit(); });
            break;
        }
        default:
            break;
        }
        return false;
    }

private:
    TMainForm &m_form;
};

// The first selected row of the list; -1 when none is selected.
int SelectedRow(const QListWidget &list)
{
    int first = -1;
    for (const QModelIndex &index : list.selectionModel()->selectedIndexes()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

} // namespace

void TMainForm::connectExplorerHandlers()
{
    const auto run = [this](void (TMainForm::*handler)()) {
        return [this, handler] { RunCommand([this, handler] { (this->*handler)(); }); };
    };
    connect(FunctionSearch, &QLineEdit::textChanged, this, run(&TMainForm::FunctionSearchChange));
    connect(TabControl1, &FlatTabStrip::currentChanged, this, run(&TMainForm::TabControl1Change));
    // A click on the entry already selected shows its declaration again.
    connect(Functionlist, &QListWidget::itemSelectionChanged, this, run(&TMainForm::FunctionListClick));
    connect(Functionlist, &QListWidget::itemClicked, this, run(&TMainForm::FunctionListClick));
    connect(Functionlist, &QListWidget::itemDoubleClicked, this, run(&TMainForm::FunctionListDblClick));
    connect(SortMethodBtn, &QToolButton::clicked, this, run(&TMainForm::SortMethodBtnClick));
    SortMethodBtn->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(SortMethodBtn, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        PopupMenu1->popup(SortMethodBtn->mapToGlobal(at));
        RunCommand([this] { SortMethodBtnMouseUp(); });
    });
    connect(PopupMenu1, &TypeFilterMenu::TypeSortClick, this,
        [this](QAction *item) { RunCommand([this, item] { TypeSortClick(item); }); });

    auto *events = new ExplorerEvents(*this);
    FunctionSearch->installEventFilter(events);
    Functionlist->installEventFilter(events);
    // Thousands of one-line entries: their height is measured once.
    Functionlist->setUniformItemSizes(true);
}

void TMainForm::fillFunctionlist()
{
    Functionlist->clear();
    const int tab = TabControl1->currentIndex();
    if (tab >= 0 && tab < kCategoryCount)
        Functionlist->addItems(State.Declarations.Categories[size_t(tab)].ShownNames);
}

void TMainForm::ApplyExplorerFilter()
{
    Functionlist->clear();
    m_explorerFilter.Apply(State.Declarations, FunctionSearch->text(), State.TypeFilter);
    fillFunctionlist();
}

void TMainForm::FunctionSearchChange()
{
    ApplyExplorerFilter();
}

void TMainForm::FunctionSearchKeyUp(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Down)
        PopupMenu1->popup(TypeMenuPoint());
}

QPoint TMainForm::TypeMenuPoint() const
{
    // Below the middle of the search box, from the window's outer frame.
    const QRect window = frameGeometry();
    return { window.left() + window.width() - Panel1->width() + FunctionSearch->x()
            + FunctionSearch->width() / 2 - 20,
        window.top() + ToolBar1->height() + 60 };
}

void TMainForm::FunctionSearchEnter()
{
    // Where a double-click will insert stays visible.
    Editbox->setHideSelection(false);
}

void TMainForm::FunctionSearchExit()
{
    Editbox->setHideSelection(true);
}

void TMainForm::TabControl1Change()
{
    fillFunctionlist();
}

void TMainForm::FunctionListClick()
{
    const int row = SelectedRow(*Functionlist);
    const int tab = TabControl1->currentIndex();
    if (row < 0 || tab < 0 || tab >= kCategoryCount)
        return;
    const DeclarationCategory &category = State.Declarations.Categories[size_t(tab)];
    Q_ASSERT(row < category.ShownLines.size());
    if (row >= category.ShownLines.size())
        return;
    ShowDeclaration(category.ShownLines.at(row));
    Functionlist->setFocus();
}

void TMainForm::FunctionListDblClick()
{
    const int row = SelectedRow(*Functionlist);
    const int tab = TabControl1->currentIndex();
    if (row < 0 || tab < 0 || tab >= kCategoryCount)
        return;
    const DeclarationCategory &category = State.Declarations.Categories[size_t(tab)];
    if (row >= category.ShownNames.size())
        return;
    // An ordinary edit, with the editor's change handling.
    Editbox->replaceSelection(category.ShownNames.at(row));
    // The editor takes the focus when it restyles; it belongs to the list.
    Functionlist->setFocus();
}

void TMainForm::SortMethodBtnClick()
{
    PopupMenu1->popup(QCursor::pos());
    SortMethodBtnMouseUp();
}

void TMainForm::SortMethodBtnMouseUp()
{
    // Whatever a click did to the toggle, pressed means a type is chosen.
    SortMethodBtn->setChecked(!State.TypeFilter.isEmpty());
}

void TMainForm::TypeSortClick(QAction *item)
{
    if (item == nullptr)
        return;
    State.TypeFilter = AsciiLower(TypeFilterMenu::Caption(item));
    SortMethodBtn->setChecked(true);
    const QList<QAction *> items = PopupMenu1->actions();
    if (!items.isEmpty() && item == items.first()) {
        State.TypeFilter.clear();
        SortMethodBtn->setChecked(false);
    }
    PopupMenu1->SetDefaultItem(item);
    ApplyExplorerFilter();
}
