// Find, Find and Replace and Goto Line of the Edit menu, on the script
// editor. The two dialogs are modeless and each keeps its own find state.
#include "Main.h"

#include "FindDialogs.h"
#include "editor/SyntaxEdit.h"
#include "platform/Errors.h"

#include <algorithm>

void TMainForm::setupFindDialogs()
{
    FindDialog1 = new FindReplaceDialog(FindReplaceDialog::Kind::Find, this);
    FindDialog1->setObjectName(QStringLiteral("FindDialog1"));
    ReplaceDialog1 = new FindReplaceDialog(FindReplaceDialog::Kind::Replace, this);
    ReplaceDialog1->setObjectName(QStringLiteral("ReplaceDialog1"));
}

void TMainForm::connectFindHandlers()
{
    connect(
        FindDialog1, &FindReplaceDialog::OnFind, this, [this] { RunCommand([this] { FindDialog1Find(); }); });
    connect(ReplaceDialog1, &FindReplaceDialog::OnFind, this,
        [this] { RunCommand([this] { ReplaceDialog1Find(); }); });
    connect(ReplaceDialog1, &FindReplaceDialog::OnReplace, this,
        [this] { RunCommand([this] { ReplaceDialog1Replace(); }); });
}

void TMainForm::Find1Click()
{
    FindDialog1->Execute();
}

void TMainForm::FindandReplace1Click()
{
    ReplaceDialog1->Execute();
}

void TMainForm::FindDialog1Find()
{
    findNext(*FindDialog1);
}

void TMainForm::ReplaceDialog1Find()
{
    findNext(*ReplaceDialog1);
}

void TMainForm::findNext(FindReplaceDialog &dialog)
{
    const QString what = dialog.FindText();
    FindState &state = dialog.State;
    // A new text starts at the top; a changed option alone does not.
    if (state.Position < 0 || state.LastText != what)
        state.Position = 0;
    state.LastText = what;
    m_repeatSearch.Text = what;
    m_repeatSearch.Options = dialog.Options();
    // The search goes on after the previous match, wherever the caret is
    // now. Edits since then can have left that place beyond the end of the
    // text: nothing is found there, and the next search starts at the top.
    const int length = Editbox->textLength();
    state.Position = state.Position <= length
        ? Editbox->findText(what, state.Position, length - state.Position, dialog.Options())
        : -1;
    if (state.Position < 0) {
        showNotFound(what);
        return;
    }
    Editbox->select(state.Position, int(what.size()));
    focusEditor();
    state.Position += int(what.size());
}

void TMainForm::FindNext1Click()
{
    repeatFind(true);
}

void TMainForm::FindPrevious1Click()
{
    repeatFind(false);
}

void TMainForm::repeatFind(bool forward)
{
    RepeatSearch &search = m_repeatSearch;
    if (search.Text.isEmpty()) {
        Find1Click(); // nothing to repeat yet
        return;
    }
    const int start = Editbox->selStart();
    // Pressed again where it found nothing: round to the other end, as Find
    // Next goes on at the top after its message.
    const bool round = search.FailedAt == start && search.FailedForward == forward;
    const int found = forward
        ? Editbox->findText(search.Text, round ? 0 : start + Editbox->selLength(), -1, search.Options)
        : FindLastMatch(Editbox->text(), search.Text, round ? Editbox->textLength() : start, search.Options);
    search.FailedAt = found < 0 ? start : -1;
    search.FailedForward = forward;
    if (found < 0) {
        showNotFound(search.Text);
        return;
    }
    Editbox->select(found, int(search.Text.size()));
    Editbox->setFocus();
}

void TMainForm::focusEditor()
{
    // The focus stays in the active window, here the dialog's: the editor gets
    // it, and shows its selection, only once the main window is active.
    activateWindow();
    Editbox->setFocus();
}

void TMainForm::ReplaceDialog1Replace()
{
    const QString what = ReplaceDialog1->FindText();
    const QString with = ReplaceDialog1->ReplaceText();
    if (what.isEmpty())
        return;
    if (!ReplaceDialog1->ReplaceAllPressed()) {
        // Only the very text, whatever the match-case box says; finding the
        // next one is Find Next's work.
        if (Editbox->selText() == what) {
            Editbox->replaceSelection(with);
            focusEditor();
        }
        return;
    }
    // Every match at once, as one edit of the range from the first match to
    // the end of the last, so that one Undo takes them all back.
    const ReplaceAllResult result = ReplaceEveryMatch(Editbox->text(), what, with, ReplaceDialog1->Options());
    if (result.First < 0) {
        showNotFound(what);
        return;
    }
    // Selecting the whole range is no choice of the user's: the preview
    // stays as it is. The change step switches tracking on again.
    State.TrackSelection = false;
    Editbox->select(result.First, result.End - result.First);
    Editbox->replaceSelection(result.Text);
    focusEditor();
}

void TMainForm::showNotFound(const QString &what)
{
    m_dialogs.ShowMessage(this, u'"' + what + QStringLiteral("\" was not found!"));
}

void TMainForm::GotoLine1Click()
{
    const std::optional<QString> answer
        = m_dialogs.InputQuery(this, QStringLiteral("Goto line"), QStringLiteral("Which line?"), QString());
    if (!answer)
        return;
    for (const QChar c : *answer) {
        if (c < u'0' || c > u'9')
            return;
    }
    if (answer->isEmpty())
        throw TolvaneError(QStringLiteral("No line number was given."));
    bool ok = false;
    const int number = answer->toInt(&ok, 10);
    if (!ok)
        throw TolvaneError(QStringLiteral("%1 is too large for a line number.").arg(*answer));
    // 1 is the first line; 0 goes there too, and any number past the end
    // goes to the last line.
    const int line = std::max(std::min(number - 1, Editbox->lineCount() - 1), 0);
    Editbox->setSelStart(Editbox->lineIndex(line));
    Editbox->ensureCursorVisible();
}
