#include "BenchSupport.h"

#include "platform/TextFile.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sys/resource.h>

QString BenchDataPath(const char *sub)
{
    return QDir::cleanPath(QStringLiteral(TOLVANE_SOURCE_DIR "/../shared/jass-data/") + QLatin1String(sub));
}

QStringList LoadMapScripts(const QString &mapsFolder)
{
    QStringList source;
    for (const QString &name : QDir(mapsFolder).entryList({ "*.j" }, QDir::Files, QDir::Name))
        source += TextFile::LoadScript(QDir(mapsFolder).filePath(name)).lines;
    if (source.isEmpty()) {
        std::fprintf(stderr, "no *.j files in %s\n", qPrintable(mapsFolder));
        std::exit(2);
    }
    return source;
}

QStringList RepeatLines(const QStringList &source, qsizetype count, qsizetype from)
{
    QStringList lines;
    if (source.isEmpty())
        return lines;
    lines.reserve(count);
    for (qsizetype i = 0; i < count; ++i)
        lines.append(source.at((from + i) % source.size()));
    return lines;
}

QStringList BuildMapScript(const QString &mapsFolder, qsizetype count)
{
    return RepeatLines(LoadMapScripts(mapsFolder), count);
}

QStringList DeclaredNames(const QString &folder)
{
    static const QRegularExpression declared(
        QStringLiteral("^\\s*(?:constant\\s+)?(?:native|function)\\s+(\\w+)"));
    static const QRegularExpression global(
        QStringLiteral("^\\s*(?:constant\\s+)?\\w+\\s+(?:array\\s+)?(\\w+)\\s*(?:=|$)"));
    QStringList names;
    for (const char *file : { "common.j", "blizzard.j", "common.ai" }) {
        const QString path = QDir(folder).filePath(QLatin1String(file));
        if (!QFile::exists(path))
            continue;
        bool inGlobals = false;
        for (const QString &line : TextFile::LoadLines(path)) {
            const QString t = line.trimmed();
            if (t.startsWith(QLatin1String("globals")) || t.startsWith(QLatin1String("endglobals"))) {
                inGlobals = t.startsWith(QLatin1String("globals"));
                continue;
            }
            QRegularExpressionMatch m = declared.match(line);
            if (!m.hasMatch() && inGlobals && !t.startsWith(QLatin1String("//")))
                m = global.match(line);
            if (m.hasMatch())
                names << m.captured(1);
        }
    }
    return names;
}

void SeedLanguageFiles(const QString &folder)
{
    const QDir data(QStringLiteral(TOLVANE_SOURCE_DIR "/data"));
    for (const QString &name : data.entryList({ "*.txt" }, QDir::Files))
        QFile::copy(data.filePath(name), QDir(folder).filePath(name));
}

int ColumnAfterFirstWord(const QString &line)
{
    const int column = int(line.indexOf(u' ', line.size() - line.trimmed().size() + 1));
    return column < 0 ? int(line.size()) : column;
}

double Ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double MedianMs(int runs, const std::function<void()> &work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(Ms(timer));
    }
    return Median(std::move(times));
}

long PeakKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}
