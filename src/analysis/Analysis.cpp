#include "Analysis.h"

#include "Checker.h"

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

Result Analyse(const QList<Source> &sources, const Api &api)
{
    Result result;
    Checker checker(api, result);
    checker.Run(sources);
    return result;
}

} // namespace Analysis
