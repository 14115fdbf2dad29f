#pragma once

#include <QMenu>

struct Catalogue;

// The type filter menu `PopupMenu1`: the common JASS types, then "Other" with
// the further return types of the function declarations. Every type item, fixed
// or generated, reports its click through TypeSortClick(item). Captions are
// shown and read exactly as written: no access keys, a "&" stays a "&".
class TypeFilterMenu : public QMenu {
    Q_OBJECT

public:
    explicit TypeFilterMenu(QWidget *parent = nullptr);

    QAction *None1; // Any Type
    QAction *Unit1;
    QAction *Integer1;
    QAction *Real1;
    QAction *Boolean1;
    QAction *Group1;
    QAction *Player1;
    QAction *String1;
    QAction *Nothing1;
    QMenu *Other1; // the last item; holds the types BuildTypeMenu adds

    // A type item under `parent` (this menu or a submenu of it).
    QAction *AddTypeItem(QMenu *parent, const QString &caption);
    // The caption as written.
    [[nodiscard]] static QString Caption(const QAction *item);

    // Shows `item` bold as the active choice and every other type item plain.
    void SetDefaultItem(QAction *item);
    // The bold item; null when there is none.
    [[nodiscard]] QAction *DefaultItem() const;

signals:
    void TypeSortClick(QAction *item);
};

// Adds under the menu's last item one item for every return type of the
// Functions declarations that the other items do not name already.
void BuildTypeMenu(TypeFilterMenu &menu, const Catalogue &catalogue);
