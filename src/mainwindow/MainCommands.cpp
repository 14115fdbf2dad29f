// The commands of the Edit, Templates and Tools menus and the About item.
// Find and replace, go to line and the templates get their bodies with their
// features; until then choosing them does nothing. The syntax check and the
// trigger editor exchange live in MainTools.cpp.
#include "Main.h"

#include <QAction>
#include <QDialog>

void TMainForm::Find1Click() {}

void TMainForm::FindandReplace1Click() {}

void TMainForm::GotoLine1Click() {}

void TMainForm::NewFunction1Click() {}

void TMainForm::NewLoop1Click() {}

void TMainForm::NewIf1Click() {}

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
