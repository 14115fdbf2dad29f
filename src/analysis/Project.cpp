#include "Project.h"

#include "Preprocessor.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <string_view>

namespace Analysis {

namespace {

// Rounds of looking for libraries that the libraries found require in turn.
constexpr int MaxRounds = 16;

bool ReadFile(const QString &path, QByteArray *bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    *bytes = file.readAll();
    return true;
}

// The names of the libraries a text declares, from its line starts.
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
        if (word("library") || word("library_once")) {
            while (p < end && (*p == ' ' || *p == '\t'))
                ++p;
            const char *name = p;
            while (p < end
                && ((*p >= 'a' && *p <= 'z') || (*p >= 'A' && *p <= 'Z') || (*p >= '0' && *p <= '9')
                    || *p == '_'))
                ++p;
            if (p > name)
                names.append(QString::fromLatin1(name, p - name));
        }
        const char *lf = static_cast<const char *>(memchr(p, '\n', size_t(end - p)));
        p = lf ? lf + 1 : end;
    }
    return names;
}

} // namespace

QStringList FindLibraries(const QString &folder, const QStringList &libraries)
{
    QStringList found;
    if (folder.isEmpty() || libraries.isEmpty())
        return found;
    QSet<QString> wanted(libraries.begin(), libraries.end());
    QStringList paths;
    QDirIterator it(folder, { QStringLiteral("*.j"), QStringLiteral("*.vj"), QStringLiteral("*.jass") },
        QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    // The same files in the same order on every machine.
    paths.sort();
    for (const QString &path : std::as_const(paths)) {
        QByteArray bytes;
        if (!ReadFile(path, &bytes))
            continue;
        bool wantedHere = false;
        for (const QString &name : DeclaredLibraries(bytes))
            wantedHere = wanted.remove(name) || wantedHere;
        if (wantedHere)
            found.append(path);
        if (wanted.isEmpty())
            break;
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
    if (!vjass)
        return Analyse(sources, api, options);
    Options vjassOptions = options;
    vjassOptions.dialect = Dialect::Vjass;
    QSet<QString> given;
    for (const Source &s : sources)
        given.insert(QFileInfo(s.name).absoluteFilePath());
    Api effective = api;
    const QString mapPath = !map.isEmpty()
        ? map
        : (folder.isEmpty() ? QString() : QDir(folder).filePath(QStringLiteral("war3map.j")));
    QByteArray mapBytes;
    if (!mapPath.isEmpty() && !given.contains(QFileInfo(mapPath).absoluteFilePath())
        && ReadFile(mapPath, &mapBytes)) {
        effective = WithMapGlobals(api, mapBytes);
        if (files)
            files->map = mapPath;
    }
    QList<Source> all = sources;
    Result result = Analyse(all, effective, vjassOptions);
    QSet<QString> searched;
    for (int round = 0; round < MaxRounds && !folder.isEmpty(); ++round) {
        QStringList wanted;
        for (const QString &name : std::as_const(result.missingLibraries)) {
            if (!searched.contains(name))
                wanted.append(name);
        }
        if (wanted.isEmpty())
            break;
        searched.unite(QSet<QString>(wanted.begin(), wanted.end()));
        bool added = false;
        for (const QString &path : FindLibraries(folder, wanted)) {
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
