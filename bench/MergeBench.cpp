// Merging ten copies of blizzard.j (about 100,000 lines): files read, merged and
// written, and the merge of lines already in memory.
#include "BenchSupport.h"
#include "merge/Merge.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString blizzard = argc > 1
        ? QString::fromLocal8Bit(argv[1])
        : QStringLiteral(TOLVANE_SOURCE_DIR "/../shared/jass-data/2.0.4/blizzard.j");
    QTemporaryDir dir;
    QStringList sources;
    QList<QStringList> lines;
    for (int i = 0; i < 10; ++i) {
        const QString copy = dir.filePath(QStringLiteral("blizzard%1.j").arg(i));
        if (!QFile::copy(blizzard, copy)) {
            std::fprintf(stderr, "cannot copy %s\n", qPrintable(blizzard));
            return 1;
        }
        sources.append(copy);
        lines.append(TextFile::LoadLines(copy));
    }
    qsizetype total = 0;
    for (const QStringList &source : lines)
        total += source.size();
    const QString target = dir.filePath(QStringLiteral("merged.j"));

    qsizetype names = 0;
    const double files = MedianMs(11, [&] { names = MergeFiles(sources, target).declaredNames.size(); });
    std::printf("MergeFiles, 10 x blizzard.j (%lld lines, %lld names): %.2f ms (median of 11)\n",
        static_cast<long long>(total), static_cast<long long>(names), files);
    const double memory = MedianMs(11, [&] { names = MergeSources(lines).lines.size(); });
    std::printf("MergeSources, same lines in memory (%lld lines out): %.2f ms (median of 11)\n",
        static_cast<long long>(names), memory);
    return 0;
}
