#include "TypeFilterMenu.h"

#include "Catalogue.h"
#include "TypeMenu.h"

namespace {

// Menus read "&" as the mark of an access key; doubled, it shows as itself.
QString EscapeCaption(QString caption)
{
    return caption.replace(u'&', QLatin1String("&&"));
}

void SetBold(QAction *item, bool bold)
{
    QFont font = item->font();
    font.setBold(bold);
    item->setFont(font);
}

} // namespace

TypeFilterMenu::TypeFilterMenu(QWidget *parent)
    : QMenu(parent)
{
    const auto fixed = [this](const char *name, const char *caption) {
        QAction *item = AddTypeItem(this, QString::fromLatin1(caption));
        item->setObjectName(QString::fromLatin1(name));
        return item;
    };
    None1 = fixed("None1", "Any Type");
    Unit1 = fixed("Unit1", "Unit");
    Integer1 = fixed("Integer1", "Integer");
    Real1 = fixed("Real1", "Real");
    Boolean1 = fixed("Boolean1", "Boolean");
    Group1 = fixed("Group1", "Group");
    Player1 = fixed("Player1", "Player");
    String1 = fixed("String1", "String");
    Nothing1 = fixed("Nothing1", "Nothing");
    Other1 = new QMenu(QStringLiteral("Other"), this);
    Other1->setObjectName(QStringLiteral("Other1"));
    addMenu(Other1);
    SetDefaultItem(None1);
}

QAction *TypeFilterMenu::AddTypeItem(QMenu *parent, const QString &caption)
{
    QAction *item = parent->addAction(EscapeCaption(caption));
    connect(item, &QAction::triggered, this, [this, item] { emit TypeSortClick(item); });
    return item;
}

QString TypeFilterMenu::Caption(const QAction *item)
{
    return item->text().replace(QLatin1String("&&"), QLatin1String("&"));
}

void TypeFilterMenu::SetDefaultItem(QAction *item)
{
    for (QAction *top : actions()) {
        SetBold(top, top == item);
        if (QMenu *submenu = top->menu()) {
            for (QAction *child : submenu->actions())
                SetBold(child, child == item);
        }
    }
}

QAction *TypeFilterMenu::DefaultItem() const
{
    for (QAction *top : actions()) {
        if (top->font().bold())
            return top;
        if (QMenu *submenu = top->menu()) {
            for (QAction *child : submenu->actions()) {
                if (child->font().bold())
                    return child;
            }
        }
    }
    return nullptr;
}

void BuildTypeMenu(TypeFilterMenu &menu, const Catalogue &catalogue)
{
    const QList<QAction *> items = menu.actions();
    if (items.isEmpty())
        return;
    QStringList known;
    for (qsizetype i = 0; i + 1 < items.size(); ++i)
        known.append(TypeFilterMenu::Caption(items.at(i)));
    const QStringList types = ExtraTypes(known, catalogue[CategoryKind::Functions].Lines);
    if (types.isEmpty())
        return;
    // The last item is found by its place, not its name.
    QAction *last = items.last();
    QMenu *submenu = last->menu();
    if (!submenu) {
        submenu = new QMenu(&menu);
        last->setMenu(submenu);
    }
    for (const QString &type : types)
        menu.AddTypeItem(submenu, type);
}
