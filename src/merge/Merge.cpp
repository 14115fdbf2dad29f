#include "Merge.h"

#include "langdata/WordHelpers.h"
#include "platform/Errors.h"
#include "platform/StringLists.h"
#include "platform/TextFile.h"

#include <QSet>

namespace {

// One merge run: the output so far and every name declared in it.
class Merger {
public:
    void AddSource(const QStringList &lines)
    {
        m_inGlobals = false;
        m_skipping = false;
        for (const QString &line : lines)
            AddLine(line);
        // Separates this source from the next; inside an open globals block it
        // is a declaration with the empty name like any other blank line there.
        AddLine(QString());
    }

    MergeOutput Finish()
    {
        MergeOutput output;
        // The game reads declarations only between "globals" and "endglobals",
        // and none after the first function: the kept ones become one block.
        if (!m_globals.isEmpty()) {
            const qsizetype at = m_functionAt >= 0 ? std::min(m_globalsAt, m_functionAt) : m_globalsAt;
            m_lines = m_lines.first(at) + QStringList { QStringLiteral("globals") } + m_globals
                + QStringList { QStringLiteral("endglobals") } + m_lines.sliced(at);
        }
        output.lines = std::move(m_lines);
        output.declaredNames = QStringList(m_declared.cbegin(), m_declared.cend());
        StringLists::Sort(output.declaredNames, StringComparer::CaseSensitive());
        return output;
    }

private:
    void AddLine(const QString &line)
    {
        if (m_skipping) {
            // The body of a repeated function, up to and including its end.
            if (LineBeginsWith(line, u"endfunction"))
                m_skipping = false;
            return;
        }
        if (LineBeginsWith(line, u"globals")) {
            if (m_globalsAt < 0)
                m_globalsAt = m_lines.size();
            m_inGlobals = true;
            return;
        }
        if (LineBeginsWith(line, u"endglobals")) {
            m_inGlobals = false;
            return;
        }
        if (LineBeginsWith(line, u"//")) {
            // Comments are copied as they stand; they never declare a name.
            Append(line);
            return;
        }
        if (m_inGlobals) {
            AddDeclaration(line, GlobalName(line, LineBeginsWith(line, u"constant") ? 3 : 2));
            return;
        }
        if (LineBeginsWith(line, u"constant")) {
            if (AddDeclaration(line, GlobalName(line, 3)) && WordAt(line, 2) == QLatin1String("function"))
                NoteFunction();
            return;
        }
        if (LineBeginsWith(line, u"function")) {
            if (AddDeclaration(line, WordAt(line, 2)))
                NoteFunction();
            else
                m_skipping = true;
            return;
        }
        if (LineBeginsWith(line, u"native")) {
            AddDeclaration(line, WordAt(line, 2));
            return;
        }
        m_lines.append(line);
    }

    // The name a global's line declares: the word after "array" for an array,
    // and without an initial value written against it ("x=1" names x), so that
    // every array survives the merge and a repeated "x=1" is found.
    static QString GlobalName(const QString &line, int position)
    {
        QString name = WordAt(line, position);
        if (name == QLatin1String("array"))
            name = WordAt(line, position + 1);
        const qsizetype equals = name.indexOf(u'=');
        return equals > 0 ? name.first(equals) : name;
    }

    // Copies the line when its name is new; false when it was declared before.
    bool AddDeclaration(const QString &line, const QString &name)
    {
        if (m_declared.contains(name))
            return false;
        m_declared.insert(name);
        Append(line);
        return true;
    }

    // A line copied inside a globals block waits for the one block of the target.
    void Append(const QString &line)
    {
        if (m_inGlobals)
            m_globals.append(line);
        else
            m_lines.append(line);
    }

    // The first function header copied (just appended) bounds where the block goes.
    void NoteFunction()
    {
        if (m_functionAt < 0)
            m_functionAt = m_lines.size() - 1;
    }

    QStringList m_lines;
    QStringList m_globals; // the lines of every globals block, in order
    qsizetype m_globalsAt = -1; // where the first globals block stood in m_lines
    qsizetype m_functionAt = -1; // where the first function header stands in m_lines
    // Names are told apart exactly, case included; the locale order is only
    // needed once, for the list shown after the merge.
    QSet<QString> m_declared;
    bool m_inGlobals = false;
    bool m_skipping = false;
};

// The target holds the text of every source: in UTF-8 once a source was, with
// one byte order mark at its start when a source had one; otherwise in code
// page 1252, byte for byte as the sources.
TextFile::Encoding TargetEncoding(TextFile::Encoding target, TextFile::Encoding source)
{
    using Encoding = TextFile::Encoding;
    if (target == Encoding::Utf8Bom || source == Encoding::Utf8Bom)
        return Encoding::Utf8Bom;
    return target == Encoding::Utf8 || source == Encoding::Utf8 ? Encoding::Utf8 : Encoding::Cp1252;
}

} // namespace

bool LineBeginsWith(QStringView line, QStringView text)
{
    qsizetype start = 0;
    while (start < line.size() && line[start] == u' ')
        ++start;
    return line.sliced(start).startsWith(text);
}

MergeOutput MergeSources(const QList<QStringList> &sources)
{
    Merger merger;
    for (const QStringList &lines : sources)
        merger.AddSource(lines);
    return merger.Finish();
}

QString MergeFileName(const QString &path)
{
    const qsizetype slash = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    return path.mid(slash + 1);
}

MergeResult MergeFiles(const QStringList &sourceFiles, const QString &targetFile)
{
    MergeResult result;
    try {
        // All sources are read before the target is touched, so a target that
        // is also a source is merged from its old contents.
        // Sources are read as the editor reads scripts, so a byte order mark
        // is no part of a first line.
        QList<QStringList> sources;
        sources.reserve(sourceFiles.size());
        TextFile::Encoding encoding = TextFile::Encoding::Cp1252;
        for (const QString &file : sourceFiles) {
            TextFile::Content content = TextFile::LoadScript(file);
            encoding = TargetEncoding(encoding, content.encoding);
            sources.append(std::move(content.lines));
        }
        MergeOutput output = MergeSources(sources);
        TextFile::SaveScript(targetFile, output.lines, encoding);
        result.declaredNames = std::move(output.declaredNames);
    } catch (const TolvaneError &error) {
        result.error = error.message();
        return result;
    }
    result.messageLines
        = { QStringLiteral("Done merging files!"), QStringLiteral("Output: ") + MergeFileName(targetFile) };
    return result;
}
