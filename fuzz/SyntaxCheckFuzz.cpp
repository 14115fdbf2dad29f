// The syntax check on any script: it names a line of the script or passes,
// and the first failure of the full check is the one the quick check stops at.
#include "FuzzSupport.h"

#include "checker/SyntaxCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList lines = TextFile::DecodeScript(Fuzz::Bytes(data, size)).lines;
    const SyntaxCheckResult first = CheckSyntax(lines);
    const QList<SyntaxCheckResult> all = CheckSyntaxAll(lines);
    Fuzz::Require(!first.message.isEmpty(), "there is always a message");
    if (first.Passed()) {
        Fuzz::Require(all.isEmpty(), "a passing script has no failures");
        Fuzz::Require(first.message == NoErrorsMessage(), "a passing script says so");
        return 0;
    }
    Fuzz::Require(first.line < lines.size(), "the failing line is a line of the script");
    Fuzz::Require(!all.isEmpty() && all.first().line == first.line && all.first().message == first.message,
        "both checks agree on the first failure");
    for (const SyntaxCheckResult &failure : all) {
        Fuzz::Require(failure.line >= 0 && failure.line < lines.size(), "every failure names a line");
        Fuzz::Require(CheckLine(lines[failure.line]) == failure.message, "a line fails by itself");
    }
    return 0;
}
