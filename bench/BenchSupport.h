#pragma once

// Pieces every benchmark builds its input and figures from.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QElapsedTimer;

// A file of the shared test data, e.g. "scripts/maps" or "2.0.4".
QString BenchDataPath(const char *sub);

// The lines of every *.j file in mapsFolder, in name order; ends the program
// with status 2 when there are none.
QStringList LoadMapScripts(const QString &mapsFolder);

// count lines taken from source in turn, starting at line from and wrapping
// round; none when source is empty.
QStringList RepeatLines(const QStringList &source, qsizetype count, qsizetype from = 0);

// The map scripts of mapsFolder repeated to count lines.
QStringList BuildMapScript(const QString &mapsFolder, qsizetype count);

// The names common.j, blizzard.j and common.ai in folder declare: natives,
// functions and globals. A file that is not there is passed over.
QStringList DeclaredNames(const QString &folder);

// The shipped language files, copied into the folder the program starts in.
void SeedLanguageFiles(const QString &folder);

// Where the benchmarks type into a line: after its first word, past the
// indentation, or at its end when it holds one word.
int ColumnAfterFirstWord(const QString &line);

// Milliseconds since the timer started.
double Ms(const QElapsedTimer &timer);

// The middle one of timings (the upper middle of an even count).
double Median(std::vector<double> times);

// The median of runs timings of work, in milliseconds.
double MedianMs(int runs, const std::function<void()> &work);

// This process's peak resident memory in kilobytes.
long PeakKb();
