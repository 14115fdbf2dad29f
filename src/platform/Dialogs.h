#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class QDialog;
class QWidget;

// The answers a modal window gives back. Cancel is a dialog's rejection, so
// Escape and the close box give Cancel unless a window decides otherwise.
enum class ModalResult : int { Cancel = 0, Ok = 1, Yes = 6, No = 7 };

// One entry of a file dialog's filter list: the caption the user reads and
// the patterns it stands for, separated by ';' ("*.txt;*.j").
struct FileFilter
{
    QString caption;
    QString patterns;
};

struct FileDialogOptions
{
    QString title;                 // empty: the toolkit's own title
    QList<FileFilter> filters;
    QString defaultExtension;      // ".txt": added to a typed name without one
    QString initialFolder;         // empty: wherever the toolkit starts
    bool confirmOverwrite = false; // ask before replacing an existing file
};

// Every window that waits for the user goes through this service, so tests
// answer them from a script instead of a person. Each command asks, then
// carries on with the answer.
class DialogService
{
public:
    virtual ~DialogService();

    // The chosen path, or nothing when the dialog was cancelled.
    [[nodiscard]] virtual std::optional<QString> OpenFileName(QWidget *parent,
                                                              const FileDialogOptions &options)
        = 0;
    [[nodiscard]] virtual std::optional<QString> SaveFileName(QWidget *parent,
                                                              const FileDialogOptions &options)
        = 0;
    // Several existing files chosen at once, in the order the dialog gives
    // them; nothing when the dialog was cancelled.
    [[nodiscard]] virtual std::optional<QStringList> OpenFileNames(QWidget *parent,
                                                                   const FileDialogOptions &options)
        = 0;
    // A plain message with an OK button.
    virtual void ShowMessage(QWidget *parent, const QString &text) = 0;
    // The report of an error a command did not handle.
    virtual void ShowError(QWidget *parent, const QString &text) = 0;
    // A one-line input box; nothing when cancelled.
    [[nodiscard]] virtual std::optional<QString> InputQuery(QWidget *parent, const QString &caption,
                                                            const QString &prompt,
                                                            const QString &value)
        = 0;
    // Shows one of the program's own windows modally and returns the result
    // that closed it (a ModalResult value for the prompts).
    virtual int ShowModal(QDialog &dialog) = 0;

    [[nodiscard]] ModalResult Ask(QDialog &prompt) { return static_cast<ModalResult>(ShowModal(prompt)); }
};

// The real thing: the toolkit's file dialogs, message boxes and input box.
class QtDialogService final : public DialogService
{
public:
    std::optional<QString> OpenFileName(QWidget *parent, const FileDialogOptions &options) override;
    std::optional<QString> SaveFileName(QWidget *parent, const FileDialogOptions &options) override;
    std::optional<QStringList> OpenFileNames(QWidget *parent, const FileDialogOptions &options) override;
    void ShowMessage(QWidget *parent, const QString &text) override;
    void ShowError(QWidget *parent, const QString &text) override;
    std::optional<QString> InputQuery(QWidget *parent, const QString &caption, const QString &prompt,
                                      const QString &value) override;
    int ShowModal(QDialog &dialog) override;

    // The toolkit reads a filter's patterns from the parentheses of its
    // caption and splits them at spaces, and "*.*" would miss names without a
    // dot; so each entry is shown as its caption's name with its own patterns.
    [[nodiscard]] static QString ToolkitFilter(const FileFilter &filter);
};

// Answers from queues filled by a test, and a record of everything shown.
// A question with an empty queue is recorded as unanswered and gets the
// cancelling answer, so a test sees the surprise instead of hanging.
class ScriptedDialogService final : public DialogService
{
public:
    struct Shown
    {
        QString kind;  // "open", "save", "message", "error", "input", "modal"
        QString title; // dialog title or caption; for a modal window its window title
        QString text;  // message text or input prompt
        FileDialogOptions options;
        bool answered = true;
    };

    // An empty path answers "cancelled".
    QStringList OpenAnswers;
    QStringList SaveAnswers;
    // For the several-files dialog (recorded as "open"); an empty list
    // answers "cancelled".
    QList<QStringList> OpenFilesAnswers;
    QList<std::optional<QString>> InputAnswers;
    QList<int> ModalAnswers;

    QList<Shown> History;

    void AnswerModal(ModalResult result) { ModalAnswers.append(static_cast<int>(result)); }
    [[nodiscard]] QStringList Kinds() const;
    [[nodiscard]] QStringList Messages() const; // texts of messages and errors, in order
    [[nodiscard]] int Unanswered() const;

    std::optional<QString> OpenFileName(QWidget *parent, const FileDialogOptions &options) override;
    std::optional<QString> SaveFileName(QWidget *parent, const FileDialogOptions &options) override;
    std::optional<QStringList> OpenFileNames(QWidget *parent, const FileDialogOptions &options) override;
    void ShowMessage(QWidget *parent, const QString &text) override;
    void ShowError(QWidget *parent, const QString &text) override;
    std::optional<QString> InputQuery(QWidget *parent, const QString &caption, const QString &prompt,
                                      const QString &value) override;
    int ShowModal(QDialog &dialog) override;
};
