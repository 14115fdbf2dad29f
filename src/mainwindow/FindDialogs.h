#pragma once

#include "platform/RichEdit.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QLineEdit;
class QPushButton;

// What one dialog remembers between its searches: where the next search
// starts (-1 after a search that found nothing) and the text it looked for.
struct FindState {
    int Position = 0;
    QString LastText;
};

// The last Find Next of either dialog, which F3 and Shift+F3 repeat from the
// caret; and where such a repeat last found nothing, so that the next press
// there starts over at the other end of the text.
struct RepeatSearch {
    QString Text;
    TRichEdit::FindOptions Options;
    int FailedAt = -1;
    bool FailedForward = true;
};

// A modeless find dialog that searches downwards only; in the Replace kind it
// also has a replace text and the Replace and Replace All buttons. The
// buttons raise OnFind and OnReplace, and the owner does the work on its
// editor with the dialog's texts, options and find state.
class FindReplaceDialog : public QDialog {
    Q_OBJECT

public:
    enum class Kind { Find, Replace };

    explicit FindReplaceDialog(Kind kind, QWidget *parent = nullptr);

    [[nodiscard]] QString FindText() const;
    void setFindText(const QString &text);
    [[nodiscard]] QString ReplaceText() const;
    void setReplaceText(const QString &text);
    [[nodiscard]] TRichEdit::FindOptions Options() const;
    // Whether Replace All (not Replace) raised the latest OnReplace.
    [[nodiscard]] bool ReplaceAllPressed() const { return m_replaceAll; }

    // Shows the dialog without blocking; an open one comes to the front.
    void Execute();

    // The dialog's own; the other dialog never reads or moves it.
    FindState State;

    QLineEdit *FindEdit;
    QLineEdit *ReplaceEdit = nullptr; // Replace kind only
    QCheckBox *WholeWord;
    QCheckBox *MatchCase;
    QPushButton *FindNextButton;
    QPushButton *ReplaceButton = nullptr; // Replace kind only
    QPushButton *ReplaceAllButton = nullptr; // Replace kind only
    QPushButton *CancelButton;

signals:
    void OnFind();
    void OnReplace();

private:
    void updateButtons();

    bool m_replaceAll = false;
};

// Every match of `what` in `text`, replaced by `with` as replacing one match
// and searching on after its replacement would do it: text a replacement
// inserted is never searched again, and a whole word's left edge is judged
// against the text as the replacements before it left it.
struct ReplaceAllResult {
    int First = -1; // where the first match starts in `text`; -1: no match
    int End = 0; // where the last match ends in `text`
    QString Text; // what takes the place of text[First, End)
    int Count = 0;
};
[[nodiscard]] ReplaceAllResult ReplaceEveryMatch(
    const QString &text, const QString &what, const QString &with, TRichEdit::FindOptions options);

// Where the last match of `what` that starts before `before` starts in
// `text`, with the dialogs' options and whole-word rule; -1 when none does.
[[nodiscard]] int FindLastMatch(
    const QString &text, const QString &what, int before, TRichEdit::FindOptions options);
