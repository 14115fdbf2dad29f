#pragma once

#include "langdata/WritingHelp.h"

#include <QObject>
#include <QThreadPool>

#include <optional>

class QKeyEvent;
class QLabel;
class QListWidget;
class QFrame;
class TMainForm;

// The writing help of Editbox: the completion popup, the call tip and the
// jump to a declaration and back. Both windows are children of the main
// window that never take the focus; nothing here edits the text except
// inserting a chosen name. The script is analysed only when one of these is
// asked for and the text changed since, never per keystroke; the list does
// not wait for it, and a script whose analysis is slow is analysed on a
// thread of its own.
class EditorHelp : public QObject {
    Q_OBJECT

public:
    explicit EditorHelp(TMainForm &form);
    ~EditorHelp() override;

    // An analysis slower than this goes to the background from then on.
    int SlowAnalysisMs = 40;

    QFrame *CompletionPopup;
    QListWidget *CompletionList;
    QLabel *CompletionDeclaration;
    QLabel *CallTip;

    [[nodiscard]] bool CompletionOpen() const;
    [[nodiscard]] bool TipOpen() const;
    // An analysis of the script is running in the background.
    [[nodiscard]] bool Analysing() const { return m_analysing >= 0; }
    // Lists the names that begin with the word before the caret. `asked`:
    // by its key, not by typing.
    void OpenCompletion(bool asked = true);
    // Shows the call the caret is in; false when it is in none (yet: a slow
    // script's function shows once the script is analysed).
    bool OpenCallTip();
    // Goes to the declaration of the name at `position`; false for a name
    // declared nowhere.
    bool GoToDeclaration(int position);
    bool GoBack();
    // The last analysis of the script and the revision of the text it read
    // (-1: none yet); ScriptAnalysed follows each newer one.
    [[nodiscard]] const WritingHelp::ScriptIndex &LastScript() const { return m_script; }
    [[nodiscard]] int LastRevision() const { return m_revision; }
    // Brings the analysis up to date: at once for a quick script, in the
    // background for a slow one.
    void RefreshScript();
    // Keeps the selection for GoBack, before a jump made elsewhere.
    void RememberPlace();

signals:
    void ScriptAnalysed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The script's analysis, redone when the text changed since the last one.
    const WritingHelp::ScriptIndex &script();
    // The same off this thread when the analysis is slow, for the list and
    // the tip to refresh once it is done; true when it went there.
    bool refreshInBackground();
    // The text as the analysis reads it.
    [[nodiscard]] QByteArray snapshot() const;
    void analysed(int revision, const WritingHelp::ScriptIndex &index, qint64 ms);
    void keyDown(QKeyEvent *event);
    void changed();
    void selectionChanged();
    void fillCompletion();
    void closeCompletion();
    void showSelectedDeclaration();
    void insertCompletion();
    void moveCompletion(int rows);
    void updateTip();
    void showTip(const WritingHelp::Tip &tip);
    void showCallTip(const WritingHelp::CallSite &call);
    [[nodiscard]] std::optional<WritingHelp::CallSite> callAtCaret();
    // Whether the caret is in brackets after a name that may be a function.
    [[nodiscard]] bool namedCallAtCaret() const;
    // Whether the caret is right after a "." that may be followed by a member.
    [[nodiscard]] bool memberAtCaret() const;
    [[nodiscard]] QString callDeclaration(
        int line, const QString &text, const WritingHelp::CallSite &call) const;
    // Makes `file` the document, as File > Open does; false when it did not
    // become one (the user kept the one open, or it could not be read).
    bool openFile(const QString &file);
    // The caret's line, its text and column.
    [[nodiscard]] std::tuple<int, QString, int> caret() const;
    void place(QWidget *widget, int position);

    TMainForm &m_form;
    WritingHelp::ScriptIndex m_script;
    int m_revision = -1;
    bool m_slowAnalysis = false;
    int m_analysing = -1; // the revision being analysed in the background
    int m_tipWanted = -1; // the revision at which "(" found no declaration
    int m_membersWanted = -1; // the revision at which "." was typed
    QThreadPool m_pool;
    QList<WritingHelp::Candidate> m_items;
    // The user moved in the open list: Enter inserts what they went to.
    bool m_chosen = false;
    int m_wordStart = 0; // where the completed word starts
    int m_wordLine = 0;
    int m_tipAnchor = 0; // the "(" of the call the tip shows
    QString m_typed; // the text of the key being typed, until its change
    struct Place {
        QString file;
        int start = 0;
        int length = 0;
    };
    QList<Place> m_back; // selections before the jumps
};
