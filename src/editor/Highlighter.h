#pragma once

#include "SyntaxType.h"
#include "WordList.h"

#include "platform/Rtf.h"

#include <QByteArray>
#include <QStringView>

class RunLineSink;

enum class HighlightMode { InPlace, ToRtf };

// Receives the classification of one line: whitespace runs and tokens, left to
// right, covering the line. Restyling a control, writing rich text and test
// traces are sinks of the one classifier.
class HighlightSink {
public:
    virtual ~HighlightSink() = default;
    virtual void Space(QStringView line, qsizetype start, qsizetype length) = 0;
    virtual void Token(QStringView line, qsizetype start, qsizetype length, TSyntaxType *wordClass) = 0;
};

// The highlighting engine without a control: word classes, the tokenizer, the
// per-line state machine and the rich text it writes.
class SyntaxEngine {
public:
    SyntaxEngine();

    void AddWords(const WordPairs &words);
    // The class of a word, the plain class when it is in no class.
    [[nodiscard]] TSyntaxType *FindWordClass(QStringView word) const;
    [[nodiscard]] const WordList &Words() const { return m_words; }
    [[nodiscard]] const BuiltinClasses &Builtins() const { return m_builtins; }

    // Switches the word list to case-sensitive, sorts it and assigns every
    // class its colour-table entry and codes.
    void RebuildCodes();
    [[nodiscard]] const QByteArray &ColorTable() const { return m_colorTable; }
    // A line's runs in the whole-text colouring depend on that line alone:
    // only the plain class's codes, which nothing closes, could reach the
    // next line, and they set nothing.
    [[nodiscard]] bool LinesIndependent() const;

    // The length of the token at `pos` (after whitespace), 0 at the end.
    [[nodiscard]] static qsizetype NextToken(QStringView line, qsizetype pos);

    void ClassifyLine(QStringView line, HighlightSink &sink) const;
    // Appends the line's rich text, "\par" included.
    void LineToRtf(QStringView line, QByteArray &out) const;
    // The line's colour runs as reading its rich text back would give them;
    // `sink` carries the attributes from one line to the next as the
    // document does.
    void LineToRuns(QStringView line, RunLineSink &sink, LineRuns &out) const;

    // The whole document of `lineCount` lines, `lineAt(i)` giving line i:
    // BeginDocument, AppendLine for each line, EndDocument. Lines are written
    // with CR LF after each; empty when there are no lines.
    template<typename LineAt>
    [[nodiscard]] QByteArray Document(qsizetype lineCount, LineAt lineAt, int fontPoints) const
    {
        if (lineCount <= 0)
            return {};
        qsizetype characters = 0;
        for (qsizetype i = 0; i < lineCount; ++i)
            characters += lineAt(i).size();
        QByteArray out = BeginDocument(characters, lineCount, fontPoints);
        for (qsizetype i = 0; i < lineCount; ++i)
            AppendLine(lineAt(i), out);
        EndDocument(out);
        return out;
    }
    // `characters` and `lineCount` size the buffer for the whole document.
    [[nodiscard]] QByteArray BeginDocument(qsizetype characters, qsizetype lineCount, int fontPoints) const;
    void AppendLine(QStringView line, QByteArray &out) const
    {
        LineToRtf(line, out);
        out.append("\r\n");
    }
    static void EndDocument(QByteArray &out) { out.append("\\par }\r\n"); }

private:
    WordList m_words;
    BuiltinClasses m_builtins;
    QByteArray m_colorTable;
};

// Appends the escaped text of a token: '\', '{' and '}' get a backslash.
void AppendRtfText(QByteArray &out, QStringView text);

// Writes the classification as rich text, exactly as the highlighter's
// document holds it. The text lands in `out` once Finish() is called: the
// sink writes through a cursor into room it makes ahead, as a call per token
// to grow the array costs more than the writing.
class RtfLineSink : public HighlightSink {
public:
    RtfLineSink(QByteArray &out, const TSyntaxType *plain)
        : m_out(out)
        , m_used(out.size())
        , m_plain(plain)
    {
    }

    void Space(QStringView line, qsizetype start, qsizetype length) override;
    void Token(QStringView line, qsizetype start, qsizetype length, TSyntaxType *wordClass) override;
    // Ends the line ("\\par") and leaves `out` holding exactly what was written.
    void Finish();

    // Writes a token of a class other than plain; consecutive tokens of one
    // class without closing codes share its opening codes.
    void TokenToRtf(QStringView token, const TSyntaxType *wordClass);

private:
    // Room for `bytes` more bytes after the cursor.
    void MakeRoom(qsizetype bytes)
    {
        if (m_out.size() - m_used < bytes)
            Grow(bytes);
    }
    void Grow(qsizetype bytes);
    void Put(const QByteArray &codes);
    void Put(const char *codes, qsizetype length);
    void PutText(QStringView text);

    QByteArray &m_out;
    qsizetype m_used; // bytes of `out` written so far
    const TSyntaxType *m_plain;
    const TSyntaxType *m_lastClass = nullptr;
    bool m_colored = false;
};

// Gives the runs that reading back the rich text RtfLineSink writes would
// give, without writing it: each code the writer would emit changes the
// attributes as the reader applies it. One sink serves a whole document, so
// attributes left open at the end of a line carry into the next.
class RunLineSink : public HighlightSink {
public:
    RunLineSink(const TSyntaxType *plain, int fontPoints);

    void BeginLine(LineRuns &out);
    void Space(QStringView line, qsizetype start, qsizetype length) override;
    void Token(QStringView line, qsizetype start, qsizetype length, TSyntaxType *wordClass) override;
    void Finish();

private:
    void Append(qsizetype length);
    void Open(const TSyntaxType *wordClass);

    LineRuns *m_out = nullptr;
    TextAttributes m_current;
    const TSyntaxType *m_plain;
    const TSyntaxType *m_lastClass = nullptr;
    bool m_colored = false;
};
