// The document commands of the main window: New, Open, Open Map Script,
// Reopen, Save, Save As, the save-first question and closing. A map's script
// is a document like a script file, under the map's path; Save writes it
// back into the map.
#include "Main.h"

#include "AreYouSureBox.h"
#include "Documents.h"
#include "SaveFirst.h"
#include "editor/SyntaxEdit.h"
#include "maps/Maps.h"
#include "platform/Errors.h"
#include "platform/Rtf.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QProcess>
#include <QScopeGuard>

namespace {

// Menu captions take '&' as an access-key mark; a path shows as it is.
QString MenuCaption(const QString &text)
{
    return QString(text).replace(u'&', QLatin1String("&&"));
}

} // namespace

bool TMainForm::AskSaveFirst()
{
    if (!State.Modified)
        return true;
    TSaveFirstForm fallback(this);
    TSaveFirstForm &prompt = Windows.SaveFirstForm != nullptr ? *Windows.SaveFirstForm : fallback;
    switch (m_dialogs.Ask(prompt)) {
    case ModalResult::Yes:
        Save1Click();
        // A read-only map's Save goes to Save As, which may be cancelled too.
        return !State.FileName.isEmpty() && !State.Modified;
    case ModalResult::No:
        return true;
    default:
        return false;
    }
}

bool TMainForm::FormClose()
{
    if (!AskSaveFirst())
        return false;
    // The catalogue's lists go with the window.
    State.Declarations = {};
    return true;
}

void TMainForm::New1Click()
{
    if (!AskSaveFirst())
        return;
    State.FileName.clear();
    State.Encoding = TextFile::Encoding::Cp1252;
    State.Map = {};
    setCaption(Documents::UntitledCaption());
    State.Indent = {};
    Editbox->setText(QString());
    ClearCheck();
    State.Modified = false;
}

void TMainForm::loadDocument(const QString &path, bool detachHandlers, bool map)
{
    // Read first: a file that cannot be read leaves the document, its name
    // and the caption as they were.
    ProgramState::MapScript script;
    QByteArray bytes;
    if (map || Maps::IsMapFile(path)) {
        Maps::ReadResult read = Maps::ReadScript(path);
        if (!read.error.isEmpty())
            throw TolvaneError(read.error);
        bytes = std::move(read.script.bytes);
        script = { read.script.name, read.script.readOnlyReason };
    } else {
        bytes = TextFile::ReadBytes(path);
    }
    State.Map = script;
    State.Indent = {};
    if (detachHandlers)
        detachEditorHandlers();
    Editbox->LoadingText = true;
    const auto restore = qScopeGuard([this] {
        Editbox->LoadingText = false;
        attachEditorHandlers();
    });
    if (Rtf::LooksLikeRtf(bytes)) {
        Editbox->loadRtf(bytes);
        State.Encoding = TextFile::Encoding::Cp1252;
    } else {
        // The editor holds UTF-8: no round trip through UTF-16 on the way.
        const TextFile::ScriptUtf8 text = TextFile::DecodeScriptUtf8(std::move(bytes));
        Editbox->setUtf8Text(text.text);
        State.Encoding = text.encoding;
    }
    ClearCheck();
}

void TMainForm::documentOpened(const QString &path)
{
    const bool readOnly = !State.Map.ReadOnlyReason.isEmpty();
    setCaption(readOnly ? Documents::ReadOnlyMapCaption(path) : Documents::OpenedCaption(path));
    State.FileName = path;
    State.Modified = false;
    if (readOnly)
        m_dialogs.ShowMessage(this, Documents::ReadOnlyMapMessage(path, State.Map.ReadOnlyReason));
}

void TMainForm::Open1Click()
{
    const std::optional<QString> path = m_dialogs.OpenFileName(this, OpenFile);
    if (!path)
        return;
    if (!AskSaveFirst())
        return;
    openDocument(*path);
}

void TMainForm::OpenMapScript1Click()
{
    const std::optional<QString> path = m_dialogs.OpenFileName(this, OpenMap);
    if (!path)
        return;
    if (!AskSaveFirst())
        return;
    // Whatever the file's first bytes, StormLib has the say.
    openDocument(*path, true);
}

void TMainForm::openDocument(const QString &path, bool map)
{
    loadDocument(path, true, map);
    documentOpened(path);
    // The file is open whatever becomes of the list; a list that cannot be
    // written is reported once the document is there.
    Documents::AddRecentFile(State.RecentFile, path);
}

void TMainForm::OpenFileFromOutside(const QString &path)
{
    if (AskSaveFirst())
        openDocument(path);
}

void TMainForm::OpenFilesFromOutside(const QStringList &paths)
{
    // Named relative to the folder the program was started in.
    QStringList files;
    for (const QString &path : paths)
        files << QDir::cleanPath(QDir::current().absoluteFilePath(path));
    for (qsizetype i = 1; i < files.size(); ++i)
        RunCommand([this, &files, i] { StartWindow(files[i]); });
    if (!files.isEmpty())
        RunCommand([this, &files] { OpenFileFromOutside(files.first()); });
}

void TMainForm::StartProgramOn(const QString &path)
{
    // In the same current folder: the language files are read from there.
    QProcess program;
    program.setProgram(QCoreApplication::applicationFilePath());
    program.setArguments({ path });
    program.setWorkingDirectory(QDir::currentPath());
    if (!program.startDetached())
        throw TolvaneError(QStringLiteral("%1 cannot be opened in a window of its own: %2")
                               .arg(path, program.errorString()));
}

void TMainForm::RecentFileClick(QAction *item)
{
    if (item == nullptr)
        return;
    const QString path = item->data().toString();
    if (!AskSaveFirst())
        return;
    if (!TextFile::FileExists(path)) {
        m_dialogs.ShowMessage(this, Documents::NotFoundMessage(path));
        return;
    }
    loadDocument(path, false);
    documentOpened(path);
}

void TMainForm::saveDocumentAs(const QString &path)
{
    State.Encoding = Documents::SaveDocument(path, Editbox->text(), State.Encoding);
    State.FileName = path;
    State.Map = {};
    State.Modified = false;
}

void TMainForm::saveMapScript()
{
    if (!State.Map.ReadOnlyReason.isEmpty()) {
        m_dialogs.ShowMessage(
            this, Documents::ReadOnlyMapSaveMessage(State.FileName, State.Map.ReadOnlyReason));
        SaveAs1Click();
        return;
    }
    const QString text = Editbox->text();
    const TextFile::Encoding encoding = Documents::SaveEncoding(text, State.Encoding);
    // The backup keeps the map as it was before the first save of this run.
    const QString map = QFileInfo(State.FileName).canonicalFilePath();
    const bool backup = !State.BackedUpMaps.contains(map);
    const Maps::WriteResult written
        = Maps::WriteScript(State.FileName, Documents::DocumentBytes(text, encoding), backup);
    if (!written.error.isEmpty())
        throw TolvaneError(written.error);
    if (backup)
        State.BackedUpMaps.insert(map);
    State.Encoding = encoding;
    State.Modified = false;
}

void TMainForm::Save1Click()
{
    if (!State.Map.Name.isEmpty()) {
        saveMapScript();
        return;
    }
    if (!State.FileName.isEmpty()) {
        saveDocumentAs(State.FileName);
        return;
    }
    const std::optional<QString> path = m_dialogs.SaveFileName(this, SaveFile);
    if (!path)
        return;
    // The name is taken only once the file is written, so a failed first
    // save leaves an untitled document that asks for a name again.
    saveDocumentAs(*path);
    setCaption(Documents::SavedUntitledCaption(*path));
}

void TMainForm::SaveAs1Click()
{
    const std::optional<QString> path = m_dialogs.SaveFileName(this, SaveFile);
    if (!path)
        return;
    saveDocumentAs(*path);
    setCaption(Documents::OpenedCaption(*path));
}

void TMainForm::setCaption(const QString &caption)
{
    // The window takes "[*]" as the place of its modified mark; doubled, it
    // shows as itself.
    setWindowTitle(QString(caption).replace(QLatin1String("[*]"), QLatin1String("[*][*]")));
}

void TMainForm::Exit1Click()
{
    close();
}

void TMainForm::BuildRecentMenu()
{
    Reopen1->clear();
    Reopen1->menuAction()->setEnabled(false);
    const QStringList entries = Documents::ReopenEntries(Documents::LoadRecentList(State.RecentFile));
    for (const QString &path : entries) {
        QAction *item = Reopen1->addAction(MenuCaption(path));
        item->setData(path);
        connect(item, &QAction::triggered, this,
                [this, item] { RunCommand([this, item] { RecentFileClick(item); }); });
    }
    Reopen1->menuAction()->setEnabled(!entries.isEmpty());
}
