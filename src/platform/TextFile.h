#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Text files as the program reads and writes them: a line ends at CR LF, a lone
// LF or a lone CR (a break at the very end adds no empty line); every written
// line, the last included, ends with CR LF. Failures raise TolvaneError with the
// file name and the system's reason.
namespace TextFile {

// Utf8Bom: UTF-8 that began with a byte order mark, written back with one.
enum class Encoding { Cp1252, Utf8, Utf8Bom };

struct Content
{
    QStringList lines;
    Encoding encoding = Encoding::Cp1252;
};

// True only for an existing regular file (or a link to one), never a folder.
[[nodiscard]] bool FileExists(const QString &fileName);

[[nodiscard]] QStringList SplitLines(const QString &text);
// Every line followed by CR LF.
[[nodiscard]] QString JoinLines(const QStringList &lines);

[[nodiscard]] QByteArray ReadBytes(const QString &fileName);
// Writes through a temporary file in the same folder that replaces the target
// only once everything is written, so a failed write leaves the old file whole.
// Where the folder takes no new file, an existing target that may be written
// is written over in place.
void WriteBytes(const QString &fileName, const QByteArray &bytes);

struct FileBytes
{
    QString fileName;
    QByteArray bytes;
};
// Several files that belong together: all are written out before any of them
// replaces its target, so a failed write (a full disk, a folder in the way)
// leaves every old file as it was; those written over in place go last.
void WriteFiles(const QList<FileBytes> &files);

// Creates the folder and any missing parents. Raises TolvaneError with the
// system's reason.
void MakeFolder(const QString &folder);

// Data files: always code page 1252.
[[nodiscard]] QStringList LoadLines(const QString &fileName);
void SaveLines(const QString &fileName, const QStringList &lines);

// Scripts: UTF-8 when the bytes are valid UTF-8 with non-ASCII text, else 1252.
[[nodiscard]] Content LoadScript(const QString &fileName);
[[nodiscard]] Content DecodeScript(const QByteArray &bytes);
struct ScriptText
{
    // The lines DecodeScript gives, joined by LF.
    QString text;
    Encoding encoding = Encoding::Cp1252;
};
// For the editor, which takes a script whole: no list of lines on the way.
[[nodiscard]] ScriptText DecodeScriptText(const QByteArray &bytes);
struct ScriptUtf8
{
    // The script in UTF-8 with the line breaks the file has, less a break at
    // the very end and a byte order mark; the lines are DecodeScript's.
    QByteArray text;
    Encoding encoding = Encoding::Cp1252;
};
// The same for an editor that holds UTF-8: a file in ASCII or UTF-8 is taken
// as it is, without a copy.
[[nodiscard]] ScriptUtf8 DecodeScriptUtf8(QByteArray bytes);
void SaveScript(const QString &fileName, const QStringList &lines, Encoding encoding);

[[nodiscard]] QString Decode(const QByteArray &bytes, Encoding encoding);
[[nodiscard]] QByteArray Encode(const QString &text, Encoding encoding);

} // namespace TextFile
