#include "Maps.h"

#include "Isolation.h"
#include "StormArchive.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

namespace Maps {

namespace {

// Reading a real map takes well under a second; a forged one may never end.
constexpr int kReadTimeoutMs = 20000;
constexpr int kWriteTimeoutMs = 120000;

const QByteArray kArchiveSignature("MPQ\x1a", 4);

// Absolute: the helper that takes the request was started ahead of need,
// maybe in another current folder.
std::string NativePath(const QString &path)
{
    return QFile::encodeName(QFileInfo(path).absoluteFilePath()).toStdString();
}

QString Reason(uint32_t code)
{
    if (const char *reason = StormArchive::Reason(code))
        return QString::fromLatin1(reason);
    return qt_error_string(int(code)) + u'.';
}

QString IsolationReason(const Isolation::Run &run)
{
    switch (run.ending) {
    case Isolation::Ending::Crashed:
        return QStringLiteral("StormLib stopped on it: the archive is damaged.");
    case Isolation::Ending::TimedOut:
        return QStringLiteral("StormLib did not finish with it in time: the archive is damaged.");
    case Isolation::Ending::NotStarted:
        return QStringLiteral("StormLib could not be started for it: %1.").arg(run.error);
    default:
        return QStringLiteral("StormLib's answer was garbled.");
    }
}

QString ProtectionReason(StormArchive::Protection protection)
{
    switch (protection) {
    case StormArchive::Protection::Malformed:
        return QStringLiteral("StormLib opens it only for reading, as a protected or damaged map");
    case StormArchive::Protection::VersionOne:
        return QStringLiteral("StormLib reads it only in its version-1 mode, as a protected map");
    case StormArchive::Protection::Signed:
        return QStringLiteral("it is signed, and a new script would break the signature");
    default:
        return {};
    }
}

QString WriteReason(const StormArchive::WriteOutcome &outcome)
{
    using StormArchive::Failure;
    switch (outcome.failure) {
    case Failure::Open:
    case Failure::ReadScript:
        return Reason(outcome.code);
    case Failure::NoScript:
    case Failure::LuaScript:
        return QStringLiteral("It holds no JASS script (war3map.j).");
    case Failure::WriteScript:
        return QStringLiteral("StormLib could not write the new script. %1").arg(Reason(outcome.code));
    case Failure::Close:
        return QStringLiteral("StormLib could not write the archive's tables. %1").arg(Reason(outcome.code));
    case Failure::ReadBack:
        return QStringLiteral("The new map does not read back. %1").arg(Reason(outcome.code));
    case Failure::ScriptDiffers:
        return QStringLiteral("The new map does not hold the script that was written.");
    case Failure::Checksums:
        return QStringLiteral("The new script does not match its checksums in (attributes).");
    case Failure::FileDiffers:
        return outcome.detail.empty()
            ? QStringLiteral("A file without a name changed in the new map.")
            : QStringLiteral("%1 changed in the new map.").arg(QString::fromStdString(outcome.detail));
    case Failure::Protected:
        return QStringLiteral("The map is read-only: %1.")
            .arg(ProtectionReason(StormArchive::Protection(outcome.code)));
    default:
        return {};
    }
}

WriteResult WriteFailed(const QString &mapPath, const QString &reason)
{
    return { QStringLiteral("Cannot save the script into map \"%1\". %2 The map is unchanged.")
                 .arg(mapPath, reason),
        {} };
}

// The map's first `size` bytes, for the header check.
QByteArray Head(const QString &path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
}

} // namespace

bool LooksLikeMap(QByteArrayView head)
{
    return head.startsWith(kArchiveSignature)
        || head.sliced(std::min(kHeaderSize, head.size())).startsWith(kArchiveSignature);
}

bool IsMapFile(const QString &path)
{
    QFile file(path);
    return QFileInfo(path).isFile() && file.open(QIODevice::ReadOnly) && LooksLikeMap(file.read(kHeadSize));
}

ReadResult ReadScript(const QString &mapPath)
{
    Isolation::Run run = Isolation::Ask({ "read", NativePath(mapPath) }, {}, kReadTimeoutMs);
    StormArchive::ReadOutcome outcome;
    size_t scriptSize = 0;
    ReadResult result;
    if (run.ending != Isolation::Ending::Answered
        || !StormArchive::Decode(
            std::string_view(run.answer.constData(), size_t(run.answer.size())), outcome, scriptSize)) {
        result.error = QStringLiteral("Cannot open map \"%1\". %2").arg(mapPath, IsolationReason(run));
        return result;
    }
    const QString scriptName = QString::fromStdString(outcome.scriptName);
    switch (outcome.failure) {
    case StormArchive::Failure::None:
        result.script.bytes = std::move(run.answer);
        result.script.bytes.truncate(qsizetype(scriptSize));
        result.script.name = scriptName;
        result.script.readOnlyReason = ProtectionReason(outcome.protection);
        break;
    case StormArchive::Failure::NoScript:
        result.error
            = QStringLiteral("The map \"%1\" holds no script: neither war3map.j nor scripts\\war3map.j.")
                  .arg(mapPath);
        break;
    case StormArchive::Failure::LuaScript:
        result.error
            = QStringLiteral("The map \"%1\" holds a Lua script (war3map.lua), not a JASS one.").arg(mapPath);
        break;
    case StormArchive::Failure::ReadScript:
        result.error = QStringLiteral("Cannot read %1 in map \"%2\". %3")
                           .arg(scriptName, mapPath, Reason(outcome.code));
        break;
    default:
        result.error = QStringLiteral("Cannot open map \"%1\". %2").arg(mapPath, Reason(outcome.code));
        break;
    }
    return result;
}

QString BackupPath(const QString &mapPath)
{
    return mapPath + QLatin1String(".bak");
}

WriteResult WriteScript(const QString &mapPath, const QByteArray &script, bool keepBackup)
{
    // A link is followed: the map it names is the one replaced.
    const QString target = QFileInfo(mapPath).exists() ? QFileInfo(mapPath).canonicalFilePath() : mapPath;
    QFile map(target);
    // Opened for writing only to learn whether the map may be written.
    if (!map.open(QIODevice::ReadWrite | QIODevice::ExistingOnly))
        return WriteFailed(mapPath, map.errorString() + u'.');
    const QByteArray original = map.readAll();
    if (map.error() != QFileDevice::NoError)
        return WriteFailed(mapPath, map.errorString() + u'.');
    map.close();

    const QFileInfo info(target);
    QTemporaryFile work(
        QDir(info.absolutePath()).filePath(QStringLiteral(".%1.XXXXXX").arg(info.fileName())));
    if (!work.open() || work.write(original) != original.size() || !work.flush()) {
        return WriteFailed(
            mapPath, QStringLiteral("No new map can be written beside it: %1.").arg(work.errorString()));
    }
    work.close();

    const std::string originalPath = NativePath(target);
    const std::string workPath = NativePath(work.fileName());
    const Isolation::Run run = Isolation::Ask({ "write", originalPath, workPath }, script, kWriteTimeoutMs);
    // What StormLib's compaction leaves when it is stopped halfway.
    QFile::remove(work.fileName() + QLatin1String(".tmp"));
    StormArchive::WriteOutcome outcome;
    if (run.ending != Isolation::Ending::Answered
        || !StormArchive::Decode(
            std::string_view(run.answer.constData(), size_t(run.answer.size())), outcome))
        return WriteFailed(mapPath, IsolationReason(run));
    if (outcome.failure != StormArchive::Failure::None)
        return WriteFailed(mapPath, WriteReason(outcome));
    const auto headerSize = qint64(outcome.archiveOffset);
    if (Head(work.fileName(), headerSize) != original.left(headerSize))
        return WriteFailed(mapPath, QStringLiteral("The new map lost its header."));

    QFile::setPermissions(work.fileName(), info.permissions());
    WriteResult result;
    if (keepBackup) {
        QSaveFile backup(BackupPath(target));
        if (!backup.open(QIODevice::WriteOnly) || backup.write(original) != original.size()
            || !backup.commit()) {
            return WriteFailed(mapPath,
                QStringLiteral("Cannot write the backup \"%1\": %2.")
                    .arg(backup.fileName(), backup.errorString()));
        }
        result.backup = backup.fileName();
    }
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(workPath), std::filesystem::path(originalPath), error);
    if (error) {
        return WriteFailed(mapPath,
            QStringLiteral("The new map cannot take its place: %1.")
                .arg(QString::fromStdString(error.message())));
    }
    work.setAutoRemove(false);
    return result;
}

QString CreateMap(const QString &path, const QList<MapFile> &files, const MapLayout &layout)
{
    StormArchive::NewArchive archive;
    archive.listfile = layout.listfile;
    archive.attributes = layout.attributes;
    for (const MapFile &file : files)
        archive.files.push_back({ file.name.toStdString(), file.bytes.toStdString(), file.encrypted });
    QFile::remove(path);
    if (const uint32_t code = StormArchive::Create(NativePath(path), archive); code != 0)
        return QStringLiteral("Cannot create map \"%1\". %2").arg(path, Reason(code));
    QByteArray header;
    if (layout.header) {
        header = QByteArray(kHeaderSize, '\0');
        header.replace(0, 4, "HM3W");
        header.replace(8, 8, "Test map");
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadWrite))
        bytes = header + file.readAll();
    if (layout.signature)
        bytes += "NGIS" + QByteArray(256, '\x5a');
    if (!file.seek(0) || file.write(bytes) != bytes.size())
        return QStringLiteral("Cannot write map \"%1\". %2").arg(path, file.errorString());
    return {};
}

} // namespace Maps
