#include "SyntaxType.h"

#include "platform/Rtf.h"

BuiltinClasses BuiltinClasses::Create()
{
    BuiltinClasses classes;
    classes.Plain = std::make_shared<TSyntaxType>(0x000000, 0);
    classes.Comment = std::make_shared<TSyntaxType>(0x787878, FontStyle::Italic);
    classes.String = std::make_shared<TSyntaxType>(0xFF0000, FontStyle::Italic);
    classes.Operator = std::make_shared<TSyntaxType>(0x800000, 0);
    classes.Bracket = std::make_shared<TSyntaxType>(0x000000, FontStyle::Bold);
    classes.Match = std::make_shared<TSyntaxType>(0x0000FF, FontStyle::Bold);
    return classes;
}
