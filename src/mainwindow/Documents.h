#pragma once

#include "platform/TextFile.h"

#include <QString>
#include <QStringList>

// The rules of the document life cycle that need no window: captions, the
// recent-files list, where it lives, the scratch file of the first activation
// and the encoding a document is saved in.
namespace Documents {

inline const QString kProgramTitle = QStringLiteral("Tolvane");
inline const QString kRecentFileName = QStringLiteral("Recent.txt");
inline const QString kScratchFileName = QStringLiteral("Temp.rtf");
constexpr qsizetype kRecentLimit = 10;

// The text after the last path separator, or the whole path without one.
// Backslash is the separator of the paths the program grew up with; '/' is
// one too, since that is what the file dialogs return here.
[[nodiscard]] QString FileNamePart(const QString &path);

// "Tolvane": at start and after New.
[[nodiscard]] QString UntitledCaption();
// "Tolvane [war.j]": after Open, Reopen and Save As.
[[nodiscard]] QString OpenedCaption(const QString &path);
// "Tolvane  [war.j]", two spaces: after the first Save of an untitled document.
[[nodiscard]] QString SavedUntitledCaption(const QString &path);

// "<path> not found": the message for a recent file that has gone.
[[nodiscard]] QString NotFoundMessage(const QString &path);

// The list after opening `path`: an equal entry among the first ten is
// removed (the first one only, compared exactly, case included), the path
// goes on top and the list is cut to ten.
[[nodiscard]] QStringList UpdateRecentList(QStringList lines, const QString &path);
// The Reopen submenu shows the first ten lines exactly as they stand.
[[nodiscard]] QStringList ReopenEntries(const QStringList &lines);

// "Recent.txt" beside the executable when it can be written there (the
// list itself, or its folder when there is none yet), otherwise in
// `fallbackFolder` (the user's application data folder).
[[nodiscard]] QString RecentFileLocation(const QString &executableFolder, const QString &fallbackFolder);
// Reads the list, empty when the file does not exist. Raises TolvaneError
// when something exists there that cannot be read.
[[nodiscard]] QStringList LoadRecentList(const QString &recentFile);
// Reads, updates and writes back the list, creating its folder when needed.
// Raises TolvaneError when the file cannot be read or written.
void AddRecentFile(const QString &recentFile, const QString &path);

// A scratch file name in `folder` that names no existing file: "Temp.rtf",
// or "Temp1.rtf", "Temp2.rtf"... when that one is taken by a file of the user.
[[nodiscard]] QString ScratchFileName(const QString &folder);

// A document keeps the encoding it was read in. A code-page document whose
// text has gained characters the code page cannot hold is saved as UTF-8,
// so saving never turns a character into '?'.
[[nodiscard]] TextFile::Encoding SaveEncoding(const QString &text, TextFile::Encoding loaded);

// The editor's text (lines separated by CR LF, LF or CR) as it is saved:
// every line ended by CR LF, in `encoding`.
[[nodiscard]] QByteArray DocumentBytes(const QString &text, TextFile::Encoding encoding);

// "Tolvane [map.w3x] (read-only)": a map whose script cannot be saved into it.
[[nodiscard]] QString ReadOnlyMapCaption(const QString &path);
// What opening such a map says.
[[nodiscard]] QString ReadOnlyMapMessage(const QString &path, const QString &reason);
// What Save says for it, before the Save As dialog.
[[nodiscard]] QString ReadOnlyMapSaveMessage(const QString &path, const QString &reason);

// Writes the editor's text (lines separated by CR LF, LF or CR) to `path`,
// every line ended by CR LF. The old file stays whole until the
// new content is completely written. Returns the encoding used (see
// SaveEncoding). Raises TolvaneError on failure.
[[nodiscard]] TextFile::Encoding SaveDocument(const QString &path, const QString &text, TextFile::Encoding encoding);

} // namespace Documents
