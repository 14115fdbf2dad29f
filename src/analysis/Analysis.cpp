#include "Analysis.h"

#include "Checker.h"
#include "Preprocessor.h"

#include <QFile>

#include <algorithm>
#include <tuple>

namespace Analysis {

bool Result::HasErrors() const
{
    for (const Diagnostic &d : diagnostics) {
        if (d.severity == Severity::Error)
            return true;
    }
    return false;
}

Api PrimitiveApi()
{
    Api api;
    for (const char *name : { "integer", "real", "boolean", "string", "handle", "code" })
        api.types.append(Type { QString::fromLatin1(name), QString(), Position() });
    return api;
}

void Append(Api &api, const Api &more)
{
    api.types += more.types;
    api.functions += more.functions;
    api.globals += more.globals;
}

namespace {

bool ReadFromDisk(const QString &path, QByteArray *bytes, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = file.errorString();
        return false;
    }
    *bytes = file.readAll();
    return true;
}

} // namespace

Result Analyse(const QList<Source> &sources, const Api &api, const Options &options)
{
    Result result;
    Checker checker(api, result, options.declarations);
    bool vjass = options.dialect == Dialect::Vjass;
    for (qsizetype i = 0; i < sources.size() && options.dialect == Dialect::Detect && !vjass; ++i)
        vjass = UsesVjass(sources[i].text);
    if (vjass)
        checker.RunVjass(
            sources, options.readFile ? options.readFile : FileReader(ReadFromDisk), options.preludeSources);
    else
        checker.Run(sources);
    // An expression reports its parts before itself; the reader wants them in text order.
    std::stable_sort(
        result.diagnostics.begin(), result.diagnostics.end(), [](const Diagnostic &a, const Diagnostic &b) {
            return std::tie(a.source, a.line, a.column) < std::tie(b.source, b.line, b.column);
        });
    return result;
}

} // namespace Analysis
