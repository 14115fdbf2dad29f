#include "Project.h"

#include "Preprocessor.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QSet>

#include <string_view>

namespace Analysis {

namespace {

// Rounds of looking for libraries that the libraries found require in turn.
constexpr int MaxRounds = 16;

// A project keeps its scripts in a tree of folders: what the script's own
// folder lacks is looked for this many folders up, among so many files.
constexpr int FoldersUp = 2;
constexpr qsizetype MaxFiles = 2000;

// The folder and those above it, nearest first; never the root, the home or
// the temporary folder, which hold much more than one project.
QStringList FoldersFrom(const QString &folder)
{
    QStringList folders;
    if (folder.isEmpty())
        return folders;
    const QStringList tooWide { QDir::rootPath(), QDir::homePath(), QDir::tempPath() };
    QDir dir(folder);
    for (int i = 0; i <= FoldersUp; ++i) {
        const QString path = dir.absolutePath();
        if (i > 0 && (tooWide.contains(path) || tooWide.contains(QFileInfo(path).canonicalFilePath())))
            break;
        folders.append(path);
        if (!dir.cdUp())
            break;
    }
    return folders;
}

bool ReadFile(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

// The names of the libraries a text declares and, prefixed with '!', of the
// textmacros it defines, from its line starts.
QStringList DeclaredLibraries(const QByteArray &text)
{
    QStringList names;
    const char *p = text.constData();
    const char *end = p + text.size();
    while (p < end) {
        while (p < end && (*p == ' ' || *p == '\t'))
            ++p;
        const auto word = [&](std::string_view w) {
            if (size_t(end - p) > w.size() && std::string_view(p, w.size()) == w
                && (p[w.size()] == ' ' || p[w.size()] == '\t')) {
                p += w.size();
                return true;
            }
            return false;
        };
        bool macro = false;
        if (word("//!")) {
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
            macro = word("textmacro") || word("textmacro_once");
        }
        if (macro || word("library") || word("library_once")) {
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
            const char *name = p;
            while (p < end
                && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9')
                    || *p == '_'))
                ++p;
            if (p > name)
                names.append((macro ? QStringLiteral("!") : QString()) + QString::fromLatin1(name, p - name));
        }
        const char *lf = static_cast<const char *>(memchr(p, '\n', size_t(end - p)));
        p = lf ? lf + 1 : end;
    }
    return names;
}

} // namespace

namespace {

// What the script files under a folder declare, by name ("!" before a
// textmacro's), kept while no file there changes: the check while typing
// asks for the same folder again and again.
struct FolderIndex {
    QStringList paths;
    QList<QDateTime> modified;
    QHash<QString, QString> declared;
};

QMutex indexMutex;
QHash<QString, FolderIndex> indexes;

FolderIndex IndexOf(const QString &folder)
{
    QStringList paths;
    QList<QDateTime> modified;
    QDirIterator it(folder, { QStringLiteral("*.j"), QStringLiteral("*.vj"), QStringLiteral("*.jass") },
        QDir::Files, QDirIterator::Subdirectories);
    // A folder high up may hold a whole home: the look stops somewhere.
    while (it.hasNext() && paths.size() < MaxFiles) {
        it.next();
        paths.append(it.filePath());
    }
    // The same files in the same order on every machine.
    paths.sort();
    for (const QString &path : std::as_const(paths))
        modified.append(QFileInfo(path).lastModified());
    {
        const QMutexLocker lock(&indexMutex);
        const auto cached = indexes.constFind(folder);
        if (cached != indexes.constEnd() && cached->paths == paths && cached->modified == modified)
            return *cached;
    }
    FolderIndex index { paths, modified, {} };
    for (const QString &path : std::as_const(paths)) {
        QByteArray bytes;
        if (!ReadFile(path, &bytes))
            continue;
        for (const QString &name : DeclaredLibraries(bytes)) {
            if (!index.declared.contains(name))
                index.declared.insert(name, path);
        }
    }
    const QMutexLocker lock(&indexMutex);
    if (indexes.size() >= 8)
        indexes.clear();
    indexes.insert(folder, index);
    return index;
}

} // namespace

QMap<QString, QString> FindLibraries(
    const QString &folder, const QStringList &libraries, const QStringList &macros)
{
    QMap<QString, QString> found;
    if (folder.isEmpty() || (libraries.isEmpty() && macros.isEmpty()))
        return found;
    const FolderIndex index = IndexOf(QDir(folder).absolutePath());
    for (const QString &name : libraries) {
        const auto it = index.declared.constFind(name);
        if (it != index.declared.constEnd())
            found.insert(name, *it);
    }
    for (const QString &name : macros) {
        const auto it = index.declared.constFind(QLatin1Char('!') + name);
        if (it != index.declared.constEnd())
            found.insert(name, *it);
    }
    return found;
}

Api WithMapGlobals(const Api &api, const QByteArray &war3map)
{
    Options options;
    options.dialect = Dialect::Jass;
    const Result map = Analyse({ Source { QStringLiteral("war3map.j"), war3map } }, api, options);
    QSet<QString> known;
    for (const Variable &g : api.globals)
        known.insert(g.name);
    Api result = api;
    for (Variable g : map.declared.globals) {
        if ((g.name.startsWith(QLatin1String("udg_")) || g.name.startsWith(QLatin1String("gg_")))
            && !known.contains(g.name)) {
            // Its position points into another analysis.
            g.at = Position();
            result.globals.append(g);
        }
    }
    return result;
}

Result AnalyseProject(const QList<Source> &sources, const Api &api, const Options &options,
    const QString &folder, const QString &map, ProjectFiles *files)
{
    bool vjass = options.dialect == Dialect::Vjass;
    for (qsizetype i = options.preludeSources;
         i < sources.size() && options.dialect == Dialect::Detect && !vjass; ++i)
        vjass = UsesVjass(sources[i].text);
    if (!vjass) {
        Options jass = options;
        jass.dialect = Dialect::Jass;
        return Analyse(sources, api, jass);
    }
    Options vjassOptions = options;
    vjassOptions.dialect = Dialect::Vjass;
    QSet<QString> given;
    for (const Source &s : sources)
        given.insert(QFileInfo(s.name).absoluteFilePath());
    Api effective = api;
    QStringList maps;
    if (!map.isEmpty())
        maps.append(map);
    else
        for (const QString &f : FoldersFrom(folder))
            maps.append(QDir(f).filePath(QStringLiteral("war3map.j")));
    for (const QString &mapPath : std::as_const(maps)) {
        QByteArray mapBytes;
        if (!given.contains(QFileInfo(mapPath).absoluteFilePath()) && ReadFile(mapPath, &mapBytes)) {
            effective = WithMapGlobals(api, mapBytes);
            if (files)
                files->map = mapPath;
            break;
        }
    }
    QList<Source> all = sources;
    Result result = Analyse(all, effective, vjassOptions);
    QSet<QString> searched;
    for (int round = 0; round < MaxRounds && !folder.isEmpty(); ++round) {
        QStringList wanted, macros;
        for (const QString &name : std::as_const(result.missingLibraries)) {
            if (!searched.contains(name))
                wanted.append(name);
        }
        for (const QString &name : std::as_const(result.missingMacros)) {
            if (!searched.contains(QLatin1Char('!') + name))
                macros.append(name);
        }
        if (wanted.isEmpty() && macros.isEmpty())
            break;
        searched.unite(QSet<QString>(wanted.begin(), wanted.end()));
        for (const QString &m : std::as_const(macros))
            searched.insert(QLatin1Char('!') + m);
        bool added = false;
        // Each library from the nearest folder that has it.
        QStringList paths;
        for (const QString &f : FoldersFrom(folder)) {
            const QMap<QString, QString> here = FindLibraries(f, wanted, macros);
            for (auto it = here.begin(); it != here.end(); ++it) {
                wanted.removeOne(it.key());
                macros.removeOne(it.key());
                if (!paths.contains(it.value()))
                    paths.append(it.value());
            }
            if (wanted.isEmpty() && macros.isEmpty())
                break;
        }
        for (const QString &path : std::as_const(paths)) {
            const QString key = QFileInfo(path).absoluteFilePath();
            QByteArray bytes;
            if (given.contains(key) || !ReadFile(path, &bytes))
                continue;
            given.insert(key);
            all.append(Source { path, bytes });
            if (files)
                files->libraries.append(path);
            added = true;
        }
        if (!added)
            break;
        result = Analyse(all, effective, vjassOptions);
    }
    // Only the given sources' diagnostics: the libraries read are theirs to check.
    QList<Diagnostic> own;
    for (const Diagnostic &d : std::as_const(result.diagnostics)) {
        if (d.source < sources.size())
            own.append(d);
    }
    result.diagnostics.swap(own);
    return result;
}

} // namespace Analysis
