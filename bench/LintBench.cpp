// The script check: common.j + blizzard.j + a 100,000-line map script in
// process (target 60 ms) and its peak memory per byte of script (target 20),
// tolvane-cli lint on the largest map script as a whole process (target
// 65 ms, what a C checker takes for the same here), and the vJASS check of
// the map project per line against the plain check per line (target 2).
#include "BenchSupport.h"

#include "analysis/Analysis.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

namespace {

constexpr qsizetype kLines = 100000;

// Resident memory now, and the peak since ResetPeak, in kilobytes.
long ResidentKb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : 0;
}

bool ResetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

long PeakSinceResetKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString data = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(TOLVANE_SOURCE_DIR "/../shared/jass-data");
    const QString patch = data + QStringLiteral("/2.0.4/");
    const QString maps = data + QStringLiteral("/scripts/maps");
    const QList<Analysis::Source> sources = {
        { QStringLiteral("common.j"), TextFile::ReadBytes(patch + QStringLiteral("common.j")) },
        { QStringLiteral("blizzard.j"), TextFile::ReadBytes(patch + QStringLiteral("blizzard.j")) },
        { QStringLiteral("war3map.j"), BuildMapScript(maps, kLines).join(u'\n').toUtf8() },
    };
    qsizetype bytes = 0;
    for (const Analysis::Source &s : sources)
        bytes += s.text.size();

    // Memory first, with the heap given back to the system, so that what the
    // analysis takes shows in the resident size rather than reusing the pages
    // freed while the input was built.
    malloc_trim(0);
    const bool peakKnown = ResetPeak();
    const long before = ResidentKb();
    // As lint runs it: diagnostics only.
    Analysis::Options options;
    options.declarations = false;
    qsizetype diagnostics = Analysis::Analyse(sources, Analysis::PrimitiveApi(), options).diagnostics.size();
    const long peak = PeakSinceResetKb();
    std::printf("common.j + blizzard.j + %lld map lines (%lld bytes, %lld diagnostics):\n",
        static_cast<long long>(kLines), static_cast<long long>(bytes), static_cast<long long>(diagnostics));
    if (peakKnown)
        std::printf("  peak memory per byte of script: %.1f bytes (target 20)\n",
            double(peak - before) * 1024.0 / double(bytes));
    // Processor time beside the wall time: on a shared machine it is the figure that carries over.
    const std::clock_t cpu = std::clock();
    const double wall = MedianMs(11, [&] {
        diagnostics += Analysis::Analyse(sources, Analysis::PrimitiveApi(), options).diagnostics.size();
    });
    std::printf("  Analyse in process: %.2f ms (median of 11, target 60 ms)\n", wall);
    std::printf("  Analyse in process, processor time: %.2f ms (mean of 11)\n",
        double(std::clock() - cpu) * 1000.0 / CLOCKS_PER_SEC / 11);

    // As a user runs it: the API of the language folder, or the declaration files.
    QTemporaryDir folder;
    const QString shipped = QStringLiteral(TOLVANE_SOURCE_DIR "/data/");
    TextFile::SaveLines(folder.filePath(QStringLiteral("JassConfig.txt")),
        { QStringLiteral("[Functions]"), shipped + QStringLiteral("Func.txt") });
    const QString map = QDir(maps).filePath(QStringLiteral("titanland-lop_war3map.j"));
    const struct {
        const char *what;
        QStringList args;
    } runs[] = {
        { "tolvane-cli lint titanland-lop_war3map.j, Api.txt of the language folder", { "lint", map } },
        { "tolvane-cli lint --api common.j --api blizzard.j titanland-lop_war3map.j",
            { "lint", "--api", patch + "common.j", "--api", patch + "blizzard.j", map } },
    };
    for (const auto &run : runs) {
        int status = 0;
        const double ms = MedianMs(11, [&] {
            QProcess process;
            process.setWorkingDirectory(folder.path());
            process.setStandardOutputFile(QProcess::nullDevice());
            process.setStandardErrorFile(QProcess::nullDevice());
            process.start(QStringLiteral(TOLVANE_CLI), run.args);
            process.waitForFinished(-1);
            status = process.exitCode();
        });
        std::printf(
            "%s, whole process: %.2f ms (median of 11, target 65 ms, exit %d)\n", run.what, ms, status);
    }

    // vJASS per line against plain JASS per line: the triggers of the map
    // project after the same common.j and blizzard.j (target: twice at most).
    QList<Analysis::Source> project = { sources[0], sources[1] };
    QStringList files;
    QDirIterator it(data + QStringLiteral("/vjass/titanland/trigger"), { QStringLiteral("*.j") }, QDir::Files,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    for (const QString &file : std::as_const(files))
        project.append({ file, TextFile::ReadBytes(file) });
    const auto lines = [](const QList<Analysis::Source> &all) {
        qsizetype n = 0;
        for (const Analysis::Source &s : all)
            n += s.text.count('\n') + 1;
        return n;
    };
    Analysis::Options vjassOptions = options;
    vjassOptions.preludeSources = 2;
    const double vjassWall = MedianMs(11, [&] {
        diagnostics += Analysis::Analyse(project, Analysis::PrimitiveApi(), vjassOptions).diagnostics.size();
    });
    const double plainPerLine = wall * 1000.0 / double(lines(sources));
    const double vjassPerLine = vjassWall * 1000.0 / double(lines(project));
    std::printf("vJASS: common.j + blizzard.j + %lld files of the map project (%lld lines):\n",
        static_cast<long long>(files.size()), static_cast<long long>(lines(project)));
    std::printf("  Analyse in process: %.2f ms (median of 11)\n", vjassWall);
    std::printf("  per line: %.3f us; plain JASS per line: %.3f us; ratio %.2f (target 2)\n", vjassPerLine,
        plainPerLine, vjassPerLine / plainPerLine);
    return diagnostics < 0 ? 1 : 0;
}
