#include "Dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

DialogService::~DialogService() = default;

namespace {

QStringList RunFileDialog(QWidget *parent, const FileDialogOptions &options, QFileDialog::AcceptMode mode,
                          QFileDialog::FileMode fileMode = QFileDialog::AnyFile)
{
    QFileDialog dialog(parent, options.title, options.initialFolder);
    dialog.setAcceptMode(mode);
    // A typed name of a file that does not exist is accepted, unless the
    // caller asks for existing files; opening it then reports why it failed.
    dialog.setFileMode(fileMode);
    if (!options.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList filters;
    for (const FileFilter &filter : options.filters)
        filters.append(QtDialogService::ToolkitFilter(filter));
    dialog.setNameFilters(filters);
    QString extension = options.defaultExtension;
    if (extension.startsWith(u'.'))
        extension.remove(0, 1);
    dialog.setDefaultSuffix(extension);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.selectedFiles();
}

std::optional<QString> FirstFile(const QStringList &files)
{
    if (files.isEmpty())
        return std::nullopt;
    return files.constFirst();
}

QString ApplicationTitle()
{
    return QApplication::applicationName();
}

} // namespace

QString QtDialogService::ToolkitFilter(const FileFilter &filter)
{
    QString name = filter.caption;
    const qsizetype open = name.lastIndexOf(u'(');
    if (open > 0)
        name = name.left(open).trimmed();
    QStringList patterns;
    for (const QString &pattern : filter.patterns.split(u';', Qt::SkipEmptyParts)) {
        const QString p = pattern.trimmed();
        patterns.append(p == QLatin1String("*.*") ? QStringLiteral("*") : p);
    }
    return QStringLiteral("%1 (%2)").arg(name, patterns.join(u' '));
}

std::optional<QString> QtDialogService::OpenFileName(QWidget *parent, const FileDialogOptions &options)
{
    return FirstFile(RunFileDialog(parent, options, QFileDialog::AcceptOpen));
}

std::optional<QString> QtDialogService::SaveFileName(QWidget *parent, const FileDialogOptions &options)
{
    return FirstFile(RunFileDialog(parent, options, QFileDialog::AcceptSave));
}

std::optional<QStringList> QtDialogService::OpenFileNames(QWidget *parent, const FileDialogOptions &options)
{
    const QStringList files = RunFileDialog(parent, options, QFileDialog::AcceptOpen, QFileDialog::ExistingFiles);
    if (files.isEmpty())
        return std::nullopt;
    return files;
}

void QtDialogService::ShowMessage(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

void QtDialogService::ShowError(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, ApplicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> QtDialogService::InputQuery(QWidget *parent, const QString &caption,
                                                   const QString &prompt, const QString &value)
{
    bool ok = false;
    const QString answer = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return answer;
}

int QtDialogService::ShowModal(QDialog &dialog)
{
    return dialog.exec();
}

QStringList ScriptedDialogService::Kinds() const
{
    QStringList kinds;
    for (const Shown &shown : History)
        kinds.append(shown.kind);
    return kinds;
}

QStringList ScriptedDialogService::Messages() const
{
    QStringList texts;
    for (const Shown &shown : History) {
        if (shown.kind == QLatin1String("message") || shown.kind == QLatin1String("error"))
            texts.append(shown.text);
    }
    return texts;
}

int ScriptedDialogService::Unanswered() const
{
    int count = 0;
    for (const Shown &shown : History)
        count += shown.answered ? 0 : 1;
    return count;
}

std::optional<QString> ScriptedDialogService::OpenFileName(QWidget *, const FileDialogOptions &options)
{
    Shown shown{QStringLiteral("open"), options.title, {}, options, !OpenAnswers.isEmpty()};
    History.append(shown);
    const QString path = OpenAnswers.isEmpty() ? QString() : OpenAnswers.takeFirst();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> ScriptedDialogService::SaveFileName(QWidget *, const FileDialogOptions &options)
{
    Shown shown{QStringLiteral("save"), options.title, {}, options, !SaveAnswers.isEmpty()};
    History.append(shown);
    const QString path = SaveAnswers.isEmpty() ? QString() : SaveAnswers.takeFirst();
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QStringList> ScriptedDialogService::OpenFileNames(QWidget *, const FileDialogOptions &options)
{
    History.append({QStringLiteral("open"), options.title, {}, options, !OpenFilesAnswers.isEmpty()});
    const QStringList paths = OpenFilesAnswers.isEmpty() ? QStringList() : OpenFilesAnswers.takeFirst();
    if (paths.isEmpty())
        return std::nullopt;
    return paths;
}

void ScriptedDialogService::ShowMessage(QWidget *, const QString &text)
{
    History.append({QStringLiteral("message"), {}, text, {}, true});
}

void ScriptedDialogService::ShowError(QWidget *, const QString &text)
{
    History.append({QStringLiteral("error"), {}, text, {}, true});
}

std::optional<QString> ScriptedDialogService::InputQuery(QWidget *, const QString &caption,
                                                         const QString &prompt, const QString &)
{
    History.append({QStringLiteral("input"), caption, prompt, {}, !InputAnswers.isEmpty()});
    return InputAnswers.isEmpty() ? std::nullopt : InputAnswers.takeFirst();
}

int ScriptedDialogService::ShowModal(QDialog &dialog)
{
    History.append({QStringLiteral("modal"), dialog.windowTitle(), {}, {}, !ModalAnswers.isEmpty()});
    return ModalAnswers.isEmpty() ? static_cast<int>(ModalResult::Cancel) : ModalAnswers.takeFirst();
}
