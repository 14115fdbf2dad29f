// The syntax check over a 100,000-line script, and tolvane-cli check as a whole
// process on the largest script of the test data.
#include "BenchSupport.h"
#include "checker/SyntaxCheck.h"
#include "platform/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr qsizetype kLines = 100000;

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString data = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QStringLiteral(TOLVANE_SOURCE_DIR "/../shared/jass-data");
    const QDir maps(data + QStringLiteral("/scripts/maps"));
    QStringList script;
    for (const QString &name : maps.entryList({ QStringLiteral("*.j") }, QDir::Files, QDir::Name))
        script += TextFile::LoadScript(maps.filePath(name)).lines;
    if (script.isEmpty()) {
        std::fprintf(stderr, "no scripts in %s\n", qPrintable(maps.path()));
        return 1;
    }
    const QStringList lines = RepeatLines(script, kLines);
    // Real maps fail at their first "globals" line; the lines that pass make
    // the check read all 100,000 lines.
    QStringList passing;
    for (const QString &line : script) {
        if (CheckLine(line).isEmpty())
            passing.append(line);
    }
    const QStringList clean = RepeatLines(passing, kLines);

    qsizetype sink = 0;
    std::printf("CheckSyntax, %lld passing map lines: %.2f ms (median of 21)\n",
        static_cast<long long>(clean.size()), MedianMs(21, [&] { sink += CheckSyntax(clean).line; }));
    std::printf("CheckSyntaxAll, %lld map lines: %.2f ms (median of 21)\n",
        static_cast<long long>(lines.size()), MedianMs(21, [&] { sink += CheckSyntaxAll(lines).size(); }));

    QString largest;
    qint64 largestSize = -1;
    for (const QString &folder : { QStringLiteral("maps"), QStringLiteral("libs"), QStringLiteral("ai") }) {
        const QDir dir(data + QStringLiteral("/scripts/") + folder);
        for (const QFileInfo &info : dir.entryInfoList(QDir::Files)) {
            if (info.size() > largestSize) {
                largest = info.filePath();
                largestSize = info.size();
            }
        }
    }
    const QString cli = QStringLiteral(TOLVANE_CLI);
    for (const QStringList &args : { QStringList { QStringLiteral("check"), largest },
             QStringList { QStringLiteral("check"), QStringLiteral("--all"), largest } }) {
        const double ms = MedianMs(21, [&] {
            QProcess process;
            process.setStandardOutputFile(QProcess::nullDevice());
            process.setStandardErrorFile(QProcess::nullDevice());
            process.start(cli, args);
            process.waitForFinished(-1);
            sink += process.exitCode();
        });
        std::printf("tolvane-cli %s %s (%lld bytes), whole process: %.2f ms (median of 21)\n",
            qPrintable(args.mid(0, args.size() - 1).join(u' ')), qPrintable(QFileInfo(largest).fileName()),
            static_cast<long long>(largestSize), ms);
    }
    return sink == 42 ? 2 : 0;
}
