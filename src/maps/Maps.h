#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

// The script inside a Warcraft III map: a .w3x or .w3m file is an MPQ
// archive, read and written through StormLib, that holds war3map.j (or
// scripts\war3map.j) beside the terrain, objects and imports. Every look into
// a map runs in a child process, so a damaged one cannot take the program
// down. Nothing here shows a window: failures come back as a text that says
// why, the system's or StormLib's reason included.
namespace Maps {

// The archive begins at the first byte, or after the 512-byte map header.
inline constexpr qsizetype kHeaderSize = 512;
inline constexpr qsizetype kHeadSize = kHeaderSize + 4;

// True when `head`, the first kHeadSize bytes of a file (or all of a shorter
// one), hold the archive signature at offset 0 or after the map header.
[[nodiscard]] bool LooksLikeMap(QByteArrayView head);
// Reads the head of the file; false for one that cannot be read.
[[nodiscard]] bool IsMapFile(const QString &path);

struct Script {
    QByteArray bytes; // exactly as stored in the map
    QString name; // inside the map: "war3map.j" or "scripts\war3map.j"
    // Why the map must not be written ("it is signed, ..."); empty when it may.
    QString readOnlyReason;
};

struct ReadResult {
    Script script;
    QString error; // empty on success
};

[[nodiscard]] ReadResult ReadScript(const QString &mapPath);

// "MAP.bak", beside the map: the map as it was before the first save.
[[nodiscard]] QString BackupPath(const QString &mapPath);

struct WriteResult {
    QString error; // empty on success
    QString backup; // the backup written, if one was asked for
};

// Writes `script` into the map in place of its script. The new map is built
// beside the old one and read back: the script inside must be `script`,
// every other file and the map header what they were. Only then does it
// replace the map, after `keepBackup` has copied the old map to
// BackupPath(). On failure the map is untouched.
[[nodiscard]] WriteResult WriteScript(const QString &mapPath, const QByteArray &script, bool keepBackup);

// A new map for tests and benchmarks.
struct MapFile {
    QString name;
    QByteArray bytes;
    bool encrypted = false;
};
struct MapLayout {
    bool header = true; // the 512-byte map header
    bool listfile = true;
    bool attributes = true;
    // The block that signed maps carry after the archive ("NGIS" and 256
    // bytes): what makes StormLib call a map signed.
    bool signature = false;
};
// Empty on success, else why not.
[[nodiscard]] QString CreateMap(
    const QString &path, const QList<MapFile> &files, const MapLayout &layout = {});

} // namespace Maps
