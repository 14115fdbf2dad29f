#include "Documents.h"

#include "platform/TextCodec.h"

#include <QDir>
#include <QFileInfo>

namespace Documents {

QString FileNamePart(const QString &path)
{
    const qsizetype separator = std::max(path.lastIndexOf(u'\\'), path.lastIndexOf(u'/'));
    return path.mid(separator + 1);
}

QString UntitledCaption()
{
    return kProgramTitle;
}

QString OpenedCaption(const QString &path)
{
    return kProgramTitle + QLatin1String(" [") + FileNamePart(path) + u']';
}

QString SavedUntitledCaption(const QString &path)
{
    return kProgramTitle + QLatin1String("  [") + FileNamePart(path) + u']';
}

QString NotFoundMessage(const QString &path)
{
    return path + QLatin1String(" not found");
}

QStringList UpdateRecentList(QStringList lines, const QString &path)
{
    const qsizetype searched = std::min(lines.size(), kRecentLimit);
    for (qsizetype i = 0; i < searched; ++i) {
        if (lines.at(i) == path) {
            lines.removeAt(i);
            break;
        }
    }
    lines.prepend(path);
    if (lines.size() > kRecentLimit)
        lines.resize(kRecentLimit);
    return lines;
}

QStringList ReopenEntries(const QStringList &lines)
{
    return lines.mid(0, kRecentLimit);
}

QString RecentFileLocation(const QString &executableFolder, const QString &fallbackFolder)
{
    const QFileInfo folder(executableFolder);
    const QString beside = QDir(executableFolder).filePath(kRecentFileName);
    // An existing list is written over in place when its folder takes no new
    // file; one that cannot be written counts as unwritable too.
    const QFileInfo existing(beside);
    if (existing.exists() ? existing.isWritable() : folder.isDir() && folder.isWritable())
        return beside;
    return QDir(fallbackFolder).filePath(kRecentFileName);
}

QStringList LoadRecentList(const QString &recentFile)
{
    // Only a missing list is an empty one; anything else there that cannot
    // be read as a file is reported.
    if (!QFileInfo::exists(recentFile))
        return {};
    return TextFile::LoadScript(recentFile).lines;
}

void AddRecentFile(const QString &recentFile, const QString &path)
{
    const QStringList lines = UpdateRecentList(LoadRecentList(recentFile), path);
    TextFile::MakeFolder(QFileInfo(recentFile).absolutePath());
    // Paths may hold any character; UTF-8 keeps them all and leaves an
    // all-ASCII list byte for byte as before.
    TextFile::SaveScript(recentFile, lines, TextFile::Encoding::Utf8);
}

QString ScratchFileName(const QString &folder)
{
    const QDir dir(folder);
    QString name = kScratchFileName;
    // A dangling link is taken too: writing through it would create its target.
    const auto taken = [&dir](const QString &candidate) {
        const QFileInfo info(dir.filePath(candidate));
        return info.exists() || info.isSymLink();
    };
    for (int n = 1; taken(name); ++n)
        name = QStringLiteral("Temp%1.rtf").arg(n);
    return dir.filePath(name);
}

TextFile::Encoding SaveEncoding(const QString &text, TextFile::Encoding loaded)
{
    if (loaded != TextFile::Encoding::Cp1252)
        return loaded;
    if (TextCodec::DecodeCp1252(TextCodec::EncodeCp1252(text)) == text)
        return TextFile::Encoding::Cp1252;
    return TextFile::Encoding::Utf8;
}

QByteArray DocumentBytes(const QString &text, TextFile::Encoding encoding)
{
    return TextFile::Encode(TextFile::JoinLines(TextFile::SplitLines(text)), encoding);
}

QString ReadOnlyMapCaption(const QString &path)
{
    return OpenedCaption(path) + QLatin1String(" (read-only)");
}

QString ReadOnlyMapMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The map \"%1\" opens read-only: %2. Save As writes its script to a file.")
        .arg(path, reason);
}

QString ReadOnlyMapSaveMessage(const QString &path, const QString &reason)
{
    return QStringLiteral("The script cannot be saved into the map \"%1\": %2. Choose a file to save it to.")
        .arg(path, reason);
}

TextFile::Encoding SaveDocument(const QString &path, const QString &text, TextFile::Encoding encoding)
{
    const TextFile::Encoding used = SaveEncoding(text, encoding);
    TextFile::WriteBytes(path, DocumentBytes(text, used));
    return used;
}

} // namespace Documents
