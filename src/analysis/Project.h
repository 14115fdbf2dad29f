#pragma once

#include "Analysis.h"

#include <QMap>
#include <QStringList>

// A vJASS script seldom stands alone: the libraries it requires are other
// files of its map project, and the globals of the map's own triggers are
// declared by the map. This reads them from the script's folder.
namespace Analysis {

// The files under `folder` (its subfolders too) that declare one of
// `libraries` ("library NAME" at a line start) or define one of `macros`
// ("//! textmacro NAME"): the first found for each, by its name.
[[nodiscard]] QMap<QString, QString> FindLibraries(
    const QString &folder, const QStringList &libraries, const QStringList &macros = QStringList());

// `api` and the globals the map's own triggers declare in a war3map.j: the
// variables of the trigger editor ("udg_") and its objects ("gg_").
[[nodiscard]] Api WithMapGlobals(const Api &api, const QByteArray &war3map);

struct ProjectFiles {
    QStringList libraries; // files read for the libraries the sources require
    QString map; // the war3map.j whose globals were taken, if any
};

// Analyses the sources as Analyse does. A vJASS program also gets the
// libraries its sources require but none declares, from `folder` and its
// subfolders (or, when none is there, from the folder above, and the one
// above that), and the globals of `map` (by default the war3map.j nearest
// `folder` on that same way up).
// The diagnostics are those of the given sources only. `files` tells what
// was read besides them.
[[nodiscard]] Result AnalyseProject(const QList<Source> &sources, const Api &api, const Options &options,
    const QString &folder, const QString &map = QString(), ProjectFiles *files = nullptr);

} // namespace Analysis
