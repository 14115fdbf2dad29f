#pragma once

#include <QStringList>

// The return types that the type filter menu offers under its last item: the
// last words of the function lines, in case-insensitive locale order, that are
// longer than two characters and not among `knownCaptions` (the other items'
// captions). Lookups ignore case; of several spellings the first met is kept.
[[nodiscard]] QStringList ExtraTypes(const QStringList &knownCaptions, const QStringList &functionLines);
