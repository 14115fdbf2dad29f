// The declaration preview: the position text and the declaration of the name
// selected in the editor, shown in HelpEdit.
#include "Main.h"

#include "editor/SyntaxEdit.h"
#include "langdata/WordHelpers.h"

#include <QLabel>
#include <QScopeGuard>

void TMainForm::EditboxSelectionChange()
{
    if (!State.TrackSelection)
        return;
    StatusPanel->setText(PositionText());

    // The selection's first word, exactly; functions win over constants,
    // constants over AI functions, AI functions over AI globals. An empty
    // selection looks up the empty name, which only a blank declaration
    // line has.
    const QString word = FirstWord(Editbox->selText());
    for (const DeclarationCategory &category : State.Declarations.Categories) {
        const qsizetype at = category.Names.indexOf(word);
        if (at >= 0) {
            ShowDeclaration(category.Lines.at(at));
            return;
        }
    }
}

void TMainForm::ShowDeclaration(const QString &line)
{
    // Disabled, the control neither repaints for each step nor takes the
    // focus when it marks a bracket.
    HelpEdit->setEnabled(false);
    HelpEdit->AllowInvalidate = false;
    const auto restore = qScopeGuard([this] {
        HelpEdit->setEnabled(true);
        HelpEdit->AllowInvalidate = true;
    });
    HelpEdit->setText(line);
    QByteArray rtf;
    HelpEdit->HighlightLine(0, HighlightMode::InPlace, rtf);
}
