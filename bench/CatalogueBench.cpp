// Loading the game's catalogue at start: the declaration and syntax files of
// data/ (made from the newest patch's common.j, blizzard.j and common.ai) read,
// named, registered with two headless documents and sorted. From the
// repository root:
//   cmake -S . -B build-bench -G Ninja -DTOLVANE_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=Release
//   cmake --build build-bench --target bench_catalogue && build-bench/bench/bench_catalogue [data folder]
// Target: at most 50 ms.

#include "editor/SyntaxDocument.h"
#include "langdata/Catalogue.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString data
        = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(TOLVANE_SOURCE_DIR "/data");
    Configuration config;
    config.FunctionFiles = { data + "/Func.txt" };
    config.ConstantFiles = { data + "/Const.txt" };
    config.SyntaxFiles = { data + "/Syn.txt" };
    config.AIFunctionFiles = { data + "/AIFunc.txt" };
    config.AIConstantFiles = { data + "/AIConst.txt" };

    constexpr int kRuns = 15;
    std::vector<double> times;
    std::vector<double> refills;
    qsizetype lines = 0;
    qsizetype words = 0;
    for (int run = 0; run < kRuns; ++run) {
        Catalogue catalogue;
        SyntaxDocument editbox;
        SyntaxDocument helpEdit;
        QStringList functionlist;
        QElapsedTimer timer;
        timer.start();
        LoadCatalogue(config, catalogue, editbox, helpEdit,
            [&functionlist](const QStringList &names) { functionlist = names; });
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
        lines = 0;
        for (const DeclarationCategory &category : catalogue.Categories)
            lines += category.Lines.size();
        words = editbox.Engine().Words().size();

        // What the explorer does on each change of its search text when
        // everything passes: every declaration added again in load order.
        timer.restart();
        for (DeclarationCategory &category : catalogue.Categories) {
            category.ClearShown();
            for (qsizetype i = 0; i < category.Names.size(); ++i)
                category.AddShown(category.Names.at(i), category.Lines.at(i));
        }
        refills.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    // The first run also pays for the process's first file reads and allocations.
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("catalogue: %lld declaration lines, %lld words per document\n", static_cast<long long>(lines),
        static_cast<long long>(words));
    std::printf("LoadCatalogue (two documents): first %.1f ms, median %.1f ms, best %.1f ms (target 50 ms)\n",
        first, times[times.size() / 2], times.front());
    std::sort(refills.begin(), refills.end());
    std::printf("shown lists refilled through AddShown: median %.1f ms\n", refills[refills.size() / 2]);
    return 0;
}
