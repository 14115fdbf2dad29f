// The map reader on any bytes: whatever StormLib makes of them, the reader
// comes back with either the script and its name or a reason, and never takes
// the caller down. A map that reads and may be written takes a new script or
// stays byte for byte as it was.
#include "FuzzSupport.h"

#include "maps/Maps.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

bool Store(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray Load(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir folder;
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const QString path = folder.filePath(QStringLiteral("input.w3x"));
    Fuzz::Require(Store(path, bytes), "the input is written");

    const Maps::ReadResult read = Maps::ReadScript(path);
    Fuzz::Require(read.error.isEmpty() != read.script.name.isEmpty(), "a script or a reason, never both");
    if (!read.error.isEmpty()) {
        Fuzz::Require(read.script.bytes.isEmpty() && read.script.readOnlyReason.isEmpty(),
            "a failure carries no script");
        return 0;
    }
    Fuzz::Require(bytes.contains("MPQ\x1a"), "only an archive has a script");
    Fuzz::Require(read.script.name == QLatin1String("war3map.j")
            || read.script.name == QLatin1String("scripts\\war3map.j"),
        "the script is war3map.j");
    Fuzz::Require(
        Maps::ReadScript(path).script.bytes == read.script.bytes, "reading twice gives the same script");

    const QByteArray script = read.script.bytes + "// fuzz\r\n";
    const Maps::WriteResult written = Maps::WriteScript(path, script, false);
    if (!written.error.isEmpty()) {
        Fuzz::Require(Load(path) == bytes, "a failed save leaves the map as it was");
        return 0;
    }
    Fuzz::Require(read.script.readOnlyReason.isEmpty(), "a read-only map is not written");
    Fuzz::Require(Maps::ReadScript(path).script.bytes == script, "the saved script reads back");
    return 0;
}
