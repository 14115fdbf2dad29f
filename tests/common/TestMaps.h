#pragma once

// Maps built at run time with StormLib, for the tests that open and save them.

#include "maps/Maps.h"

inline const QByteArray kMapScript = "function main takes nothing returns nothing\r\nendfunction\r\n";

// A map with terrain and an encrypted import beside its script, named
// `script` inside it (none when empty); `lua` adds a war3map.lua.
inline QString MakeTestMap(const QString &path, const Maps::MapLayout &layout = {},
    const QString &script = QStringLiteral("war3map.j"), bool lua = false)
{
    QByteArray terrain(6000, '\0');
    for (qsizetype i = 0; i < terrain.size(); ++i)
        terrain[i] = char((i * i * 7919) >> 5);
    QList<Maps::MapFile> files { { "war3map.w3e", terrain },
        { "war3mapImported\\unit.mdx", "MDLX model", true } };
    if (!script.isEmpty())
        files.prepend(Maps::MapFile { script, kMapScript });
    if (lua)
        files.append(Maps::MapFile { "war3map.lua", "function main()\r\nend\r\n" });
    return Maps::CreateMap(path, files, layout);
}
