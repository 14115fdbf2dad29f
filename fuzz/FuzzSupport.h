#pragma once

#include "platform/StringLists.h"
#include "platform/TextCodec.h"
#include "platform/TextFile.h"

#include <QByteArray>
#include <QLocale>
#include <QStringList>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the input as the program would read it, and
// a failed promise reported as a crash so that libFuzzer keeps the input.
namespace Fuzz {

inline QByteArray Bytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// The lines of a data file, read as the program reads them from disk.
inline QStringList Lines(const QByteArray &bytes)
{
    return TextFile::SplitLines(TextCodec::DecodeCp1252(bytes));
}

// Several files in one input, separated by NUL bytes.
inline QList<QByteArray> Files(const QByteArray &bytes)
{
    return bytes.split('\0');
}

[[noreturn]] inline void Fail(const char *what)
{
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

inline void Require(bool holds, const char *what)
{
    if (!holds)
        Fail(what);
}

// Orders must not depend on the machine's LANG, as in the tests.
inline void PinLocale()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    StringComparer::SetLocale(QLocale(QLocale::English, QLocale::UnitedStates));
}

} // namespace Fuzz
