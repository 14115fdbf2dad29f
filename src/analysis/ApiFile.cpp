#include "Analysis.h"

#include <QList>

// One declaration per line, words separated by one space; JASS names hold no
// spaces, so no quoting is needed:
//   tolvane-api 1
//   type NAME [PARENT]
//   native|function [constant] NAME RETURNS [TYPE NAME]...
//   global [constant] [array] TYPE NAME
namespace Analysis {

namespace {

const QByteArray Magic = QByteArrayLiteral("tolvane-api 1");

bool IsName(const QByteArray &word)
{
    if (word.isEmpty())
        return false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const char c = word[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
        if (!letter && !(i > 0 && c >= '0' && c <= '9'))
            return false;
    }
    return true;
}

} // namespace

QByteArray WriteApi(const Api &api)
{
    QByteArray out = Magic + '\n';
    for (const Type &t : api.types) {
        out += "type " + t.name.toUtf8();
        if (!t.parent.isEmpty())
            out += ' ' + t.parent.toUtf8();
        out += '\n';
    }
    for (const Function &f : api.functions) {
        out += f.isNative ? "native " : "function ";
        if (f.isConstant)
            out += "constant ";
        out += f.name.toUtf8() + ' ' + f.returns.toUtf8();
        for (const Variable &p : f.parameters)
            out += ' ' + p.type.toUtf8() + ' ' + p.name.toUtf8();
        out += '\n';
    }
    for (const Variable &g : api.globals) {
        out += "global ";
        if (g.isConstant)
            out += "constant ";
        if (g.isArray)
            out += "array ";
        out += g.type.toUtf8() + ' ' + g.name.toUtf8() + '\n';
    }
    return out;
}

std::optional<Api> ReadApi(const QByteArray &bytes, QString *error)
{
    const auto fail = [error](int line, const QString &reason) {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(line).arg(reason);
        return std::optional<Api>();
    };
    QList<QByteArray> lines = bytes.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != Magic)
        return fail(
            1, QStringLiteral("not an API file (it must begin with \"%1\")").arg(QString::fromLatin1(Magic)));
    Api api;
    for (qsizetype n = 1; n < lines.size(); ++n) {
        const int lineNo = int(n + 1);
        const QByteArray line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        QList<QByteArray> words = line.simplified().split(' ');
        for (const QByteArray &w : std::as_const(words)) {
            if (!IsName(w))
                return fail(lineNo, QStringLiteral("'%1' is not a name").arg(QString::fromUtf8(w)));
        }
        const QByteArray kind = words.takeFirst();
        const auto flag = [&words](const char *name) {
            if (!words.isEmpty() && words.first() == name) {
                words.removeFirst();
                return true;
            }
            return false;
        };
        if (kind == "type") {
            if (words.size() < 1 || words.size() > 2)
                return fail(lineNo, QStringLiteral("a type line is 'type NAME [PARENT]'"));
            api.types.append(Type { QString::fromLatin1(words[0]),
                words.size() > 1 ? QString::fromLatin1(words[1]) : QString(), Position() });
        } else if (kind == "native" || kind == "function") {
            Function f;
            f.isNative = kind == "native";
            f.isConstant = flag("constant");
            if (words.size() < 2 || words.size() % 2 != 0)
                return fail(lineNo,
                    QStringLiteral("a function line is '%1 [constant] NAME RETURNS [TYPE NAME]...'")
                        .arg(QString::fromLatin1(kind)));
            f.name = QString::fromLatin1(words[0]);
            f.returns = QString::fromLatin1(words[1]);
            for (qsizetype i = 2; i < words.size(); i += 2) {
                Variable p;
                p.type = QString::fromLatin1(words[i]);
                p.name = QString::fromLatin1(words[i + 1]);
                f.parameters.append(p);
            }
            api.functions.append(f);
        } else if (kind == "global") {
            Variable g;
            g.isConstant = flag("constant");
            g.isArray = flag("array");
            if (words.size() != 2)
                return fail(lineNo, QStringLiteral("a global line is 'global [constant] [array] TYPE NAME'"));
            g.type = QString::fromLatin1(words[0]);
            g.name = QString::fromLatin1(words[1]);
            api.globals.append(g);
        } else {
            return fail(lineNo, QStringLiteral("unknown declaration '%1'").arg(QString::fromLatin1(kind)));
        }
    }
    return api;
}

} // namespace Analysis
