// The writing help's vJASS members on any script: at every "." of every line,
// the expression before it is followed through the script's structs, their
// modules, parents and delegates (which may name each other in circles), and
// what is listed, tipped and jumped to stays inside the script.
#include "FuzzSupport.h"

#include "langdata/WritingHelp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::Bytes(data, size);
    WritingHelp::ScriptIndex script;
    script.Build(bytes);
    const Catalogue catalogue;
    const QStringList lines = Fuzz::Lines(bytes);
    for (int line = 0; line < lines.size() && line < 200; ++line) {
        const QString &text = lines[line];
        // The editor asks at one "." per keystroke: a few dozen of a line do.
        int tried = 0;
        for (int dot = int(text.indexOf(u'.')); dot >= 0 && tried < 64;
             dot = int(text.indexOf(u'.', dot + 1)), ++tried) {
            const auto members = WritingHelp::CompleteMembers(&script, line, text, dot + 1, QString());
            Fuzz::Require(
                members.has_value() == WritingHelp::InCode(text, dot), "a \".\" in code lists members");
            for (const WritingHelp::Candidate &member : members.value_or(QList<WritingHelp::Candidate>())) {
                Fuzz::Require(
                    !member.name.isEmpty() && !member.declaration.isEmpty(), "a member has a declaration");
                (void)WritingHelp::CallDeclarationAt(
                    catalogue, &script, line, text + member.name, dot + 1, member.name);
            }
            const auto [start, length] = WritingHelp::WordAt(text, dot + 1);
            const auto found = WritingHelp::FindDeclarationAt(
                catalogue, &script, line, text, start, text.mid(start, length));
            Fuzz::Require(!found || !found->inScript || (found->line >= 0 && found->line < lines.size()),
                "a declaration found stands in the script");
        }
    }
    return 0;
}
