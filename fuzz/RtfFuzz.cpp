// The RTF reader on any bytes: it never fails, its result keeps its own
// promises, and a document it read and wrote back reads the same.
#include "FuzzSupport.h"

#include "platform/Rtf.h"

namespace {

// One run list per line, runs of positive length covering each line.
bool WellFormed(const RichText &doc)
{
    const QStringList lines = doc.text.split(QLatin1Char('\n'));
    if (size_t(lines.size()) != doc.lines.size())
        return false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        int64_t sum = 0;
        for (const StyleRun &run : doc.lines[size_t(i)]) {
            if (run.length <= 0)
                return false;
            sum += run.length;
        }
        if (sum != lines[i].size())
            return false;
    }
    return true;
}

bool SameDocument(const RichText &a, const RichText &b)
{
    return a.text == b.text && a.lines == b.lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    const RichText read = Rtf::Read(bytes);
    Fuzz::Require(WellFormed(read), "Read gives one run list per line, covering it");

    const QByteArray written = Rtf::Write(read, 24);
    Fuzz::Require(Rtf::LooksLikeRtf(written), "Write starts a document");
    const RichText again = Rtf::Read(written);
    Fuzz::Require(WellFormed(again), "Read of Write gives one run list per line");
    Fuzz::Require(SameDocument(read, again), "Read(Write(Read(x))) == Read(x)");
    return 0;
}
