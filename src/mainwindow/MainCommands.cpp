// The commands of the Tools menu, the About item and the editor's own keys
// (redo and zoom). Find, replace and go to line live in MainFind.cpp, the
// templates in MainTemplates.cpp, the syntax check and the trigger editor
// exchange in MainTools.cpp.
#include "Main.h"

#include "editor/SyntaxEdit.h"

#include <QAction>
#include <QDialog>

void TMainForm::Dontclickonme1Click()
{
    for (const QString &text : ButtonStage::Messages(ButtonStage::InToolsMenu))
        m_dialogs.ShowMessage(this, text);
    // Found for the last time: the item stays hidden for the rest of the run.
    Dontclickonme1->setVisible(false);
    State.Button.Advance(ButtonStage::Gone);
}

void TMainForm::MergeFiles1Click()
{
    if (Windows.MergeFileForm != nullptr)
        m_dialogs.ShowModal(*Windows.MergeFileForm);
}

void TMainForm::About1Click()
{
    if (Windows.AboutBox != nullptr)
        m_dialogs.ShowModal(*Windows.AboutBox);
}

void TMainForm::Redo1Click()
{
    Editbox->redo();
}

void TMainForm::ZoomIn1Click()
{
    Editbox->setZoom(Editbox->zoom() + 1);
}

void TMainForm::ZoomOut1Click()
{
    Editbox->setZoom(Editbox->zoom() - 1);
}

void TMainForm::ZoomReset1Click()
{
    Editbox->setZoom(0);
}

void TMainForm::Fold1Click()
{
    Editbox->fold(Editbox->lineFromChar(-1));
}

void TMainForm::Unfold1Click()
{
    Editbox->unfold(Editbox->lineFromChar(-1));
}
