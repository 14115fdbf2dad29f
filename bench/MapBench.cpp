// Scripts inside maps:
//   bench_maps [maps folder]
// 1. Opening the script of a map (the map scripts of the maps folder
//    repeated to 100,000 lines, in a map with a 10 MB terrain and imports)
//    with File > Open, read, decoded, highlighted and painted, against
//    opening the same script as a file, in pairs; the difference is the
//    map's cost (target: at most 50 ms). The map reader alone is timed
//    beside it.
// 2. Saving it (Ctrl+S) into that 10 MB map, backup included: the new map
//    built beside the old one, read back, checked and put in its place
//    (target: at most one second).

#include "BenchProgram.h"
#include "BenchSupport.h"
#include "editor/SyntaxEdit.h"
#include "mainwindow/Main.h"
#include "maps/Maps.h"
#include "platform/TextFile.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QThread>

#include <cstdio>

namespace {

constexpr int kLines = 100000;
constexpr int kRuns = 5;
constexpr int kPairs = 9;
constexpr qsizetype kImports = 20;
constexpr qsizetype kImportBytes = 512 * 1024;

// Textures and models compress little; random bytes not at all.
QByteArray Incompressible(qsizetype size, quint32 seed)
{
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    random.fillRange(reinterpret_cast<quint32 *>(bytes.data()), size / 4);
    return bytes;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString maps = argc > 1 ? QString::fromLocal8Bit(argv[1]) : BenchDataPath("scripts/maps");
    BenchProgram program;
    const QByteArray script
        = TextFile::Encode(TextFile::JoinLines(BuildMapScript(maps, kLines)), TextFile::Encoding::Cp1252);
    const QString file = program.FilePath("war3map.j");
    const QString map = program.FilePath("big.w3x");
    TextFile::WriteBytes(file, script);
    QList<Maps::MapFile> files { { "war3map.j", script } };
    for (qsizetype i = 0; i < kImports; ++i)
        files.append({ QStringLiteral("war3mapImported\\texture%1.blp").arg(i),
            Incompressible(kImportBytes, quint32(i)) });
    if (const QString error = Maps::CreateMap(map, files); !error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    std::printf("A %.1f MB map with a %d-line script of %.1f MB:\n",
        double(QFileInfo(map).size()) / (1 << 20), kLines, double(script.size()) / (1 << 20));

    TMainForm &form = program.Form();
    // As the editor asks: with a pause between, in which the next helper loads.
    std::vector<double> readerTimes, fileReadTimes;
    for (int run = 0; run < kRuns; ++run) {
        QThread::msleep(300);
        readerTimes.push_back(MedianMs(1, [&] { (void)Maps::ReadScript(map); }));
        fileReadTimes.push_back(MedianMs(1, [&] { (void)TextFile::ReadBytes(file); }));
    }
    const double reader = Median(readerTimes);
    // In pairs, the file then the map, so that a change of the machine's load
    // falls on both; the cost is the median of the pairs' differences.
    std::vector<double> fileTimes, mapTimes, costs;
    for (int pair = 0; pair < kPairs; ++pair) {
        fileTimes.push_back(MedianMs(1, [&] { program.Open(file); }));
        mapTimes.push_back(MedianMs(1, [&] { program.Open(map); }));
        costs.push_back(mapTimes.back() - fileTimes.back());
    }
    const double asFile = Median(fileTimes);
    const double asMap = Median(mapTimes);
    const bool opened
        = form.State.Map.Name == QLatin1String("war3map.j") && form.Editbox->lineCount() == kLines;
    std::printf("  map reader alone: median %.1f ms\n", reader);
    std::printf("  the script file read alone: median %.1f ms\n", Median(fileReadTimes));
    std::printf("  open the script file: median %.1f ms\n", asFile);
    std::printf("  open the map: median %.1f ms\n", asMap);
    std::printf("  the map's cost: median %.1f ms (target 50 ms)\n", Median(costs));

    int edits = 0;
    std::vector<double> saves;
    for (; edits < kRuns; ++edits) {
        form.Editbox->setSelStart(form.Editbox->textLength());
        form.Editbox->replaceSelection(QStringLiteral("\n// edit %1").arg(edits));
        form.State.BackedUpMaps.clear();
        QElapsedTimer timer;
        timer.start();
        form.Save1->trigger();
        saves.push_back(Ms(timer));
    }
    const double save = Median(saves);
    const bool saved = Maps::ReadScript(map).script.bytes.endsWith(
        QStringLiteral("// edit %1\r\n").arg(edits - 1).toLatin1());
    std::printf("  save into the map, backup included: median %.1f ms (target 1000 ms)\n", save);
    return opened && saved && program.Dialogs().Messages().isEmpty() ? 0 : 1;
}
