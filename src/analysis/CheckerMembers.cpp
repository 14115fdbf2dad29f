#include "Checker.h"

#include "Messages.h"

// vJASS expressions and statements: names that stand for structs and
// functions, member access "a.b[c].d", method calls, typecasts, 'static if'
// and 'implement' inside bodies. A value of a struct type is an integer with
// the struct beside it, so every check of plain JASS holds for it as it is.
namespace Analysis {

namespace M = Messages;

// A value nothing is known of: accepted everywhere, so one mistake makes one message.
Checker::Value Checker::Unknown(Value v)
{
    v.type = ErrorType;
    v.object = -1;
    v.kind = OtherValue;
    return v;
}

Checker::Value Checker::ParseVjassPrimary()
{
    const Token first = tok_;
    Ref r = ParseChain(false);
    return ValueOf(r, first);
}

// A name and what follows it: ".member", "[index]", "(arguments)".
Checker::Ref Checker::ParseChain(bool forSet)
{
    Ref r = ParseNameRef(forSet);
    for (int steps = 0; !lineFailed_ && steps < 4096; ++steps) {
        if (r.lvalue)
            break;
        if (tok_.kind == Tok::Dot) {
            r = Member(r, forSet);
        } else if (tok_.kind == Tok::LBracket) {
            r = Index(r, forSet);
        } else if (tok_.kind == Tok::Colon) {
            r = Colon(r, forSet);
        } else if (tok_.kind == Tok::LParen
            && (r.kind == Ref::Method || r.kind == Ref::Function || r.unknown)) {
            r = CallRef(r);
        } else {
            break;
        }
    }
    return r;
}

Checker::Ref Checker::ParseNameRef(bool forSet)
{
    Ref r;
    r.kind = Ref::Val;
    r.value = Start(tok_);
    if (tok_.kind == Tok::Dot) {
        // ".x" is "this.x"; in a static method, "thistype.x".
        const Symbol &self = symbols_[words_->thisWord];
        if (self.localOwner == epoch_ && self.local >= 0) {
            // 'this' may be declared an integer: it is still of the struct.
            const LocalInfo &l = locals_[size_t(self.local)];
            r.value.type = l.type;
            r.value.object = l.object >= 0 ? l.object : ctx_.object;
            r.value.kind = NameValue;
            r.value.symbol = words_->thisWord;
        } else if (ctx_.object >= 0) {
            r.kind = Ref::Object;
            r.object = ctx_.object;
        } else {
            ReportAt(tok_, M::DotOutsideStruct());
            r.value = Unknown(r.value);
            r.unknown = true;
        }
        return Member(r, forSet);
    }
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::Value)) {
        r.value = Unknown(r.value);
        r.unknown = true;
        return r;
    }
    const Symbol &s = symbols_[name.symbol];
    const bool isLocal = s.localOwner == epoch_ && s.local >= 0;
    const int typeObject = s.type >= 0 ? types_[size_t(s.type)].object : -1;
    // In a method, a member's name alone stands for "this.name" or "thistype.name";
    // a type's name before '(' is still a typecast.
    const bool typecast = tok_.kind == Tok::LParen && (typeObject >= 0 || s.type == Integer);
    if (!isLocal && !typecast && ctx_.object >= 0 && name.symbol != words_->thistype
        && FindMember(ctx_.object, name.symbol) >= 0) {
        const Symbol &self = symbols_[words_->thisWord];
        if (self.localOwner == epoch_ && self.local >= 0) {
            const LocalInfo &l = locals_[size_t(self.local)];
            r.value.type = l.type;
            r.value.object = l.object >= 0 ? l.object : ctx_.object;
            r.value.kind = NameValue;
            r.value.symbol = words_->thisWord;
        } else {
            r.kind = Ref::Object;
            r.object = ctx_.object;
        }
        return MemberNamed(r, name, forSet);
    }
    if (tok_.kind == Tok::LParen) {
        // "T(x)" and "integer(x)": the value as another type.
        if (!isLocal && s.global < 0 && s.function < 0 && (typeObject >= 0 || s.type == Integer)) {
            Advance();
            const Value inner = ParseExpression();
            Expect(Tok::RParen, M::Want::CloseParen);
            if (!lineFailed_ && inner.type != Integer && inner.type != ErrorType && inner.type != NullType)
                ReportAt(inner, M::Typecast(Name(name.symbol), Describe(inner)));
            Finish(r.value);
            r.value.type = Integer;
            r.value.object
                = typeObject >= 0 && objects_[size_t(typeObject)].kind != ObjectKind::Key ? typeObject : -1;
            return r;
        }
        r.value = ParseCall(name, true);
        r.called = true;
        return r;
    }
    if (name.symbol == words_->super && !isLocal && s.global < 0) {
        if (ctx_.object >= 0 && objects_[size_t(ctx_.object)].parent >= 0 && !ctx_.isStatic) {
            r.kind = Ref::Super;
            r.object = objects_[size_t(ctx_.object)].parent;
        } else {
            ReportAt(name, M::SuperWithoutParent());
            r.value = Unknown(r.value);
            r.unknown = true;
        }
        return r;
    }
    if (isLocal || s.global >= 0) {
        VariableRef &ref = r.variable;
        bool isArray;
        if (isLocal) {
            const LocalInfo &l = locals_[size_t(s.local)];
            ref.local = s.local;
            ref.type = l.type;
            ref.object = l.object;
            isArray = l.isArray;
        } else {
            const GlobalInfo &g = globals_[size_t(s.global)];
            ref.global = s.global;
            ref.type = g.type;
            ref.object = g.object;
            isArray = g.isArray;
        }
        // 'this' may be declared an integer: it is still of the struct.
        if (ref.object < 0 && name.symbol == words_->thisWord && ref.type == Integer)
            ref.object = ctx_.object;
        r.value.kind = NameValue;
        r.value.symbol = name.symbol;
        r.value.type = ref.type;
        r.value.object = ref.object;
        if (isArray) {
            if (Accept(Tok::LBracket)) {
                CheckIndex(ParseExpression());
                Expect(Tok::RBracket, M::Want::CloseBracket);
                // "a[x][y]" of a two-dimensional array.
                if (ref.global >= 0 && globals_[size_t(ref.global)].twoD && Accept(Tok::LBracket)) {
                    CheckIndex(ParseExpression());
                    Expect(Tok::RBracket, M::Want::CloseBracket);
                }
            } else if (tok_.kind == Tok::Dot) {
                r.arrayName = true;
            } else {
                ReportAt(name, M::NeedsIndex(Name(name.symbol)));
                ref.indexed = false;
                r.value.type = ErrorType;
            }
        }
        Finish(r.value);
        r.lvalue = forSet && tok_.kind == Tok::Assign;
        return r;
    }
    if (typeObject >= 0 && objects_[size_t(typeObject)].kind != ObjectKind::Key) {
        r.kind = Ref::Object;
        r.object = typeObject;
        Finish(r.value);
        return r;
    }
    if (s.function >= 0) {
        r.kind = Ref::Function;
        r.function = s.function;
        r.value.symbol = name.symbol;
        Finish(r.value);
        return r;
    }
    // "F.evaluate" and "F.execute" may call a function declared further down.
    if (tok_.kind == Tok::Dot) {
        const auto later = functionNodes_.find(name.symbol);
        if (later != functionNodes_.end()) {
            int &f = nodeFunction_[size_t(later->second)];
            if (f < 0)
                f = SignatureOf(tree_.nodes[size_t(later->second)], name.symbol);
            r.kind = Ref::Function;
            r.function = f;
            r.value.symbol = name.symbol;
            Finish(r.value);
            return r;
        }
    }
    if (name.symbol == words_->thisWord && ctx_.object >= 0) {
        // 'this' in a static method: the compiler drops an instance that only
        // leads to a static member, so it is taken as it comes.
        r.value.type = Integer;
        r.value.object = ctx_.object;
        Finish(r.value);
        return r;
    }
    if (s.type >= 0)
        ReportAt(name, M::NotAVariable(Name(name.symbol), true));
    else if (s.placeholder < 0)
        ReportUndeclared(name);
    Finish(r.value);
    r.value = Unknown(r.value);
    r.unknown = true;
    return r;
}

void Checker::NotAMember(const Token &name, int object)
{
    if (!lineFailed_)
        ReportAt(name, M::NotAMember(Name(name.symbol), ObjectName(object)));
}

// The member `symbol` of an object: its own, then its parents', then its
// delegates'. `via` gets the delegate it was found through.
int Checker::FindMember(int object, int symbol, int *via, int delegation) const
{
    int depth = 0;
    for (int o = object; o >= 0 && depth < 64; o = objects_[size_t(o)].parent, ++depth) {
        const ObjectInfo &info = objects_[size_t(o)];
        if (ctx_.module >= 0 && ctx_.object == o) {
            const auto found
                = info.modulePrivate.find((std::int64_t(ctx_.module) << 32) | std::uint32_t(symbol));
            if (found != info.modulePrivate.end())
                return found->second;
        }
        const auto found = info.members.find(symbol);
        if (found != info.members.end())
            return found->second;
    }
    // Delegates may delegate in turn, even in a circle.
    if (delegation >= 8)
        return -1;
    for (int d : objects_[size_t(object)].delegates) {
        const MemberInfo &m = members_[size_t(d)];
        if (m.typeObject < 0 || m.typeObject == object)
            continue;
        const int found = FindMember(m.typeObject, symbol, nullptr, delegation + 1);
        if (found >= 0) {
            if (via)
                *via = d;
            return found;
        }
    }
    return -1;
}

bool Checker::CanSee(const MemberInfo &m) const
{
    if (!(m.flags & Private))
        return true;
    if (m.module >= 0)
        return ctx_.module == m.module;
    return ctx_.object == m.object;
}

// "base.name": a field, a method to call, an operator that reads or sets.
Checker::Ref Checker::Member(const Ref &base, bool forSet)
{
    Advance(); // '.'
    const Token name = tok_;
    // A member may be named like a keyword ("x.integer", "x.type").
    if (tok_.kind != Tok::Name && !(tok_.kind >= Tok::Type && tok_.kind <= Tok::Alias)) {
        SyntaxError(M::Want::MemberName);
        Ref r;
        r.kind = Ref::Val;
        r.value = Unknown(base.value);
        r.unknown = true;
        return r;
    }
    Advance();
    return MemberNamed(base, name, forSet);
}

// The member `name` of `base`, the name already read.
Checker::Ref Checker::MemberNamed(const Ref &base, const Token &name, bool forSet)
{
    Ref r;
    r.kind = Ref::Val;
    r.value = base.value;
    r.value.kind = OtherValue;
    r.value.integerLiteral = false;
    r.value.zero = false;
    Finish(r.value);
    const int symbol = name.symbol;
    const std::string_view text = lex_->Text(name);
    const bool setting = forSet && tok_.kind == Tok::Assign;
    const auto unknown = [&] {
        r.value = Unknown(r.value);
        r.unknown = true;
        return r;
    };
    // Functions and methods as objects.
    if (base.kind == Ref::Function || base.kind == Ref::Method) {
        const int f = base.kind == Ref::Function ? base.function : members_[size_t(base.member)].function;
        if (text == "evaluate" || text == "execute") {
            r.kind = Ref::Function;
            r.function = f;
            r.execute = text == "execute";
            r.value.symbol = base.value.symbol;
            return r;
        }
        r.value.type = text == "name"                      ? String
            : text == "exists" && base.kind == Ref::Method ? Boolean
                                                           : ErrorType;
        if (r.value.type == ErrorType && !lineFailed_)
            ReportAt(name, M::NotAMember(Name(symbol), QStringLiteral("function")));
        return r;
    }
    if (base.arrayName) {
        // A sized global array: its size and dimensions.
        if (text == "size" || text == "width" || text == "height") {
            r.value.type = Integer;
            return r;
        }
        ReportAt(name, M::NeedsIndex(Name(base.value.symbol)));
        return unknown();
    }
    if (base.unknown || base.kind == Ref::None)
        return unknown();
    int object = -1;
    bool instance = true;
    if (base.kind == Ref::Object || base.kind == Ref::Super) {
        object = base.object;
        instance = base.kind == Ref::Super;
    } else {
        if (base.value.type == NothingType) {
            if (!lineFailed_)
                ReportAt(base.value, M::NoValue(Name(base.value.symbol)));
            return unknown();
        }
        object = base.value.object;
        if (object < 0) {
            if (base.value.type != ErrorType && !lineFailed_)
                ReportAt(name, M::NoMembers(Describe(base.value)));
            return unknown();
        }
    }
    const ObjectInfo &o = objects_[size_t(object)];
    // A function interface's value: ".evaluate" and ".execute".
    if (o.kind == ObjectKind::FunctionInterface) {
        if (instance && (text == "evaluate" || text == "execute")) {
            r.kind = Ref::Function;
            r.function = o.function;
            r.execute = text == "execute";
            r.value.symbol = symbol;
            return r;
        }
        if (!instance) {
            // "F.name": a function, or a static method, as a value of F.
            if (symbol >= 0 && symbols_[symbol].function >= 0) {
                r.value.type = Integer;
                r.value.object = object;
                return r;
            }
            if (symbol >= 0 && symbols_[symbol].placeholder >= 0)
                return unknown();
        }
        if (!lineFailed_)
            ReportAt(name,
                symbol >= 0 && !instance ? M::Undeclared(Name(symbol))
                                         : M::NotAMember(Name(symbol), ObjectName(object)));
        return unknown();
    }
    if (symbol < 0) {
        NotAMember(name, object);
        return unknown();
    }
    int member = -1;
    if (setting) {
        std::string key(text);
        key += '=';
        const int setterName = symbols_.Find(key);
        const int setter = setterName >= 0 ? FindMember(object, setterName) : -1;
        if (setter >= 0 && members_[size_t(setter)].kind == MemberKind::Setter)
            member = setter;
    }
    if (member < 0)
        member = FindMember(object, symbol);
    if (member < 0) {
        // A dynamic array's or an array member's size through an instance.
        NotAMember(name, object);
        return unknown();
    }
    const MemberInfo &m = members_[size_t(member)];
    if (!CanSee(m) && !lineFailed_)
        ReportAt(name, M::PrivateMember(Name(symbol), ObjectName(m.object)));
    r.member = member;
    r.value.symbol = symbol;
    switch (m.kind) {
    case MemberKind::Field:
        if (!instance && !(m.flags & Static) && !o.arrayStruct && !lineFailed_)
            ReportAt(name, M::NotStatic(Name(symbol)));
        r.value.type = m.type;
        r.value.object = m.typeObject;
        r.value.kind = NameValue;
        r.field = member;
        if ((m.flags & IsArray) && tok_.kind != Tok::LBracket) {
            // An array member names its size, or needs an index.
            if (tok_.kind == Tok::Dot) {
                r.arrayName = true;
                return r;
            }
            ReportAt(name, M::NeedsIndex(Name(symbol)));
            r.value.type = ErrorType;
        }
        if (m.flags & IsArray) {
            r.arrayElement = true;
            r.rows = m.twoD ? 2 : 1;
        }
        if (setting && !(m.flags & IsArray)) {
            r.lvalue = true;
            if (m.flags & Constant)
                ReportAt(name, M::SetConstant(Name(symbol)));
            else if ((m.flags & Readonly) && ctx_.object != m.object)
                ReportAt(name, M::ReadonlyMember(Name(symbol)));
        }
        return r;
    case MemberKind::Getter: {
        const FunctionInfo &f = functions_[size_t(m.function)];
        if (!instance && !(m.flags & Static) && !lineFailed_)
            ReportAt(name, M::NotStatic(Name(symbol)));
        r.value.type = f.broken ? ErrorType : f.returns;
        r.value.object = f.returnsObject;
        r.called = true;
        if (setting) {
            if (!lineFailed_)
                ReportAt(name, M::NoSetter(Name(symbol)));
            r.lvalue = true;
            r.value.type = ErrorType;
        }
        return r;
    }
    case MemberKind::Setter:
        r.lvalue = true;
        r.setter = member;
        return r;
    default:
        r.kind = Ref::Method;
        r.object = object;
        r.instance = instance;
        return r;
    }
}

// "base[index]": an array element, or the '[]' operator of a struct.
Checker::Ref Checker::Index(const Ref &base, bool forSet)
{
    Advance(); // '['
    const Value index = ParseExpression();
    Expect(Tok::RBracket, M::Want::CloseBracket);
    Ref r;
    r.kind = Ref::Val;
    r.value = base.value;
    r.value.kind = OtherValue;
    Finish(r.value);
    const bool setting = forSet && tok_.kind == Tok::Assign;
    const auto unknown = [&] {
        r.value = Unknown(r.value);
        r.unknown = true;
        return r;
    };
    if (base.unknown || lineFailed_)
        return unknown();
    if (base.arrayElement && base.field >= 0 && base.rows > 0) {
        // An array member: its element, or its row of two.
        CheckIndex(index);
        const MemberInfo &m = members_[size_t(base.field)];
        r.value.type = m.type;
        r.value.object = m.typeObject;
        r.field = base.field;
        r.arrayElement = true;
        r.rows = base.rows - 1;
        r.lvalue = setting && r.rows == 0;
        return r;
    }
    int object = -1;
    bool instance = true;
    if (base.kind == Ref::Object) {
        object = base.object;
        instance = false;
    } else if (base.kind == Ref::Val) {
        object = base.value.object;
    }
    if (object < 0) {
        if (base.value.type != ErrorType)
            ReportAt(base.value,
                base.variable.found() ? M::NotAnArray(Name(base.value.symbol))
                                      : M::NotIndexable(Describe(base.value)));
        return unknown();
    }
    const ObjectInfo &o = objects_[size_t(object)];
    if (!instance && o.arrayStruct) {
        // "T[i]" of an array struct is its instance i, unless it has its own static '[]'.
        const int op = FindMember(object, words_->staticIndex);
        if (op < 0 || !(members_[size_t(op)].flags & Static)) {
            CheckIndex(index);
            r.value.type = Integer;
            r.value.object = object;
            return r;
        }
    }
    if (instance && o.kind == ObjectKind::DynamicArray) {
        CheckIndex(index);
        r.value.type = o.element;
        r.value.object = o.elementObject;
        r.lvalue = setting;
        r.arrayElement = true;
        return r;
    }
    const int op = FindMember(object,
        instance ? (setting ? words_->indexSet : words_->index)
                 : (setting ? words_->staticIndexSet : words_->staticIndex));
    if (op < 0) {
        if (!lineFailed_)
            ReportAt(base.value, M::NotIndexable(instance ? Describe(base.value) : ObjectName(object)));
        return unknown();
    }
    const MemberInfo &m = members_[size_t(op)];
    const FunctionInfo &f = functions_[size_t(m.function)];
    if (!CanSee(m) && !lineFailed_)
        ReportAt(base.value, M::PrivateMember(Name(m.symbol), ObjectName(m.object)));
    if (!f.broken && !f.types.empty() && !Converts(index.type, f.types[0], Use::Assign) && !lineFailed_)
        ReportAt(index,
            M::ArgumentType(Name(f.symbol), 1,
                (!f.objects.empty() && f.objects[0] >= 0 ? ObjectName(f.objects[0]) : TypeName(f.types[0]))
                    + QLatin1Char(' ') + Name(f.names[0]),
                Describe(index)));
    if (setting) {
        r.lvalue = true;
        r.indexSet = op;
        return r;
    }
    r.value.type = f.broken ? ErrorType : f.returns;
    r.value.object = f.returnsObject;
    r.called = true;
    return r;
}

// "i:A", the element i of the array A, as "A[i]".
Checker::Ref Checker::Colon(const Ref &base, bool forSet)
{
    Advance(); // ':'
    Ref r;
    r.kind = Ref::Val;
    r.value = base.value;
    r.value.kind = OtherValue;
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::VariableName)) {
        r.value = Unknown(r.value);
        r.unknown = true;
        return r;
    }
    Finish(r.value);
    if (!base.unknown)
        CheckIndex(base.value);
    const Symbol &s = symbols_[name.symbol];
    const bool isLocal = s.localOwner == epoch_ && s.local >= 0;
    if (!isLocal && s.global < 0) {
        // A member array, or a name not known: nothing more to say of it.
        if (s.function < 0 && s.type < 0 && s.placeholder < 0
            && (ctx_.object < 0 || FindMember(ctx_.object, name.symbol) < 0))
            ReportUndeclared(name);
        r.value = Unknown(r.value);
        r.unknown = true;
        return r;
    }
    const bool isArray = isLocal ? locals_[size_t(s.local)].isArray : globals_[size_t(s.global)].isArray;
    if (!isArray) {
        ReportAt(name, M::NotAnArray(Name(name.symbol)));
        r.value = Unknown(r.value);
        r.unknown = true;
        return r;
    }
    if (isLocal) {
        r.variable.local = s.local;
        r.value.type = locals_[size_t(s.local)].type;
        r.value.object = locals_[size_t(s.local)].object;
    } else {
        r.variable.global = s.global;
        r.value.type = globals_[size_t(s.global)].type;
        r.value.object = globals_[size_t(s.global)].object;
    }
    r.variable.type = r.value.type;
    r.value.symbol = name.symbol;
    r.arrayElement = true;
    r.lvalue = forSet && tok_.kind == Tok::Assign;
    return r;
}

// The call that follows a method or a function's '.evaluate'.
Checker::Ref Checker::CallRef(const Ref &base)
{
    Ref r;
    r.kind = Ref::Val;
    r.called = true;
    Value v = base.value;
    v.kind = CallValue;
    if (base.unknown) {
        // Nothing is known of what is called: its arguments are still read.
        ParseArguments(nullptr, Token(), v, true);
        r.value = Unknown(v);
        r.unknown = true;
        return r;
    }
    const FunctionInfo *f = nullptr;
    FunctionInfo destroy; // "T.destroy(x)" takes the instance
    if (base.kind == Ref::Function) {
        f = base.function >= 0 ? &functions_[size_t(base.function)] : nullptr;
    } else {
        const MemberInfo &m = members_[size_t(base.member)];
        f = &functions_[size_t(m.function)];
        if (!base.instance && !(m.flags & Static) && !objects_[size_t(base.object)].arrayStruct) {
            if (symbols_[m.symbol].name == "destroy") {
                destroy = *f;
                destroy.types = { Integer };
                destroy.objects = { -1 };
                destroy.names = { m.symbol };
                destroy.typeSymbols = { -1 };
                f = &destroy;
            } else if (!lineFailed_) {
                ReportAt(base.value, M::NotStatic(Name(m.symbol)));
            }
        }
    }
    Token name;
    name.symbol = base.value.symbol >= 0 ? base.value.symbol : (f ? f->symbol : -1);
    v.symbol = name.symbol;
    v = ParseArguments(f, name, v, true);
    if (base.execute)
        v.type = NothingType;
    r.value = v;
    return r;
}

// A reference read as a value.
Checker::Value Checker::ValueOf(Ref &r, const Token &at)
{
    switch (r.kind) {
    case Ref::Val: {
        Value &v = r.value;
        if (r.arrayName && !lineFailed_) {
            ReportAt(v, M::NeedsIndex(Name(v.symbol)));
            return Unknown(v);
        }
        if (v.type == NothingType) {
            if (!lineFailed_)
                ReportAt(v, M::NoValue(Name(v.symbol)));
            return Unknown(v);
        }
        // Reported once per variable: the first read is the mistake.
        if (r.variable.local >= 0) {
            LocalInfo &local = locals_[size_t(r.variable.local)];
            if (!local.isArray && !local.assigned) {
                ReportAt(at, M::Uninitialised(Name(v.symbol)));
                local.assigned = true;
            }
        } else if (r.variable.global >= 0 && inGlobals_) {
            GlobalInfo &global = globals_[size_t(r.variable.global)];
            if (!global.isArray && !global.initialised) {
                ReportAt(at, M::Uninitialised(Name(v.symbol)));
                global.initialised = true;
            }
        }
        return v;
    }
    case Ref::Function: {
        // A function of the script stands for its pointer, as for a function interface.
        const FunctionInfo &f = functions_[size_t(r.function)];
        if (f.isNative || r.execute) {
            if (!lineFailed_)
                ReportAt(r.value, M::NotAVariable(Name(r.value.symbol), false));
            return Unknown(r.value);
        }
        Value v = r.value;
        v.type = Integer;
        v.object = -1;
        return v;
    }
    case Ref::Method: {
        Value v = r.value;
        v.type = Integer;
        v.object = -1;
        return v;
    }
    case Ref::Object:
        if (!lineFailed_)
            ReportAt(r.value, M::NotAVariable(ObjectName(r.object), true));
        return Unknown(r.value);
    default:
        return Unknown(r.value);
    }
}

void Checker::ParseVjassSet()
{
    Advance();
    if (tok_.kind != Tok::Name && tok_.kind != Tok::Dot) {
        SyntaxError(M::Want::VariableName);
        return EndLine();
    }
    const Token first = tok_;
    Ref r = ParseChain(true);
    if (!r.lvalue && !r.unknown && !lineFailed_) {
        if (tok_.kind == Tok::Assign)
            ReportAt(r.value, M::NotSettable());
        else
            SyntaxError(M::Want::Assign);
    }
    if (!Expect(Tok::Assign, M::Want::Assign))
        return EndLine();
    const Value v = ParseExpression();
    if (!lineFailed_ && !r.unknown) {
        const int symbol = r.value.symbol;
        if (r.setter >= 0 || r.indexSet >= 0) {
            const MemberInfo &m = members_[size_t(r.setter >= 0 ? r.setter : r.indexSet)];
            const FunctionInfo &f = functions_[size_t(m.function)];
            const size_t at = r.setter >= 0 ? 0 : 1;
            // The value is the operator's last argument.
            if (!f.broken && f.types.size() > at && !Converts(v.type, f.types[at], Use::Assign))
                ReportAt(v,
                    M::ArgumentType(Name(f.symbol), int(at + 1),
                        (f.objects.size() > at && f.objects[at] >= 0 ? ObjectName(f.objects[at])
                                                                     : TypeName(f.types[at]))
                            + QLatin1Char(' ') + Name(f.names[at]),
                        Describe(v)));
        } else if (r.variable.found() && r.field < 0 && !r.arrayElement) {
            if (r.variable.global >= 0 && globals_[size_t(r.variable.global)].isConstant)
                ReportAt(first, M::SetConstant(Name(symbol)));
            else if (r.variable.global >= 0 && current_.isConstant)
                ReportAt(first, M::ConstantSetsGlobal(Name(symbol)));
            if (!Converts(v.type, r.value.type, Use::Assign))
                ReportAt(v,
                    M::Conversion(Describe(v), Name(symbol),
                        r.value.object >= 0 ? ObjectName(r.value.object) : TypeName(r.value.type)));
        } else if (!Converts(v.type, r.value.type, Use::Assign)) {
            ReportAt(v,
                M::Conversion(Describe(v), Name(symbol),
                    r.value.object >= 0 ? ObjectName(r.value.object) : TypeName(r.value.type)));
        }
    }
    if (r.variable.local >= 0)
        locals_[size_t(r.variable.local)].assigned = true;
    EndLine();
}

void Checker::ParseVjassCall()
{
    Advance();
    if (tok_.kind != Tok::Name && tok_.kind != Tok::Dot) {
        SyntaxError(M::Want::FunctionName);
        return EndLine();
    }
    const Ref r = ParseChain(false);
    if (!r.called && !lineFailed_)
        SyntaxError(M::Want::OpenParen);
    EndLine();
}

// "static if CONDITION then": the branch the condition picks is checked, the
// other is passed over as the compiler leaves it out.
bool Checker::ParseStaticIfStatement()
{
    const Token start = tok_;
    Advance();
    if (tok_.kind != Tok::If) {
        statementsSeen_ = true;
        SyntaxError(M::Want::Statement);
        EndLine();
        return false;
    }
    blocks_.push_back(Block { Tok::If, start.line });
    bool anyTaken = false;
    bool ends = false;
    for (;;) {
        // At 'if' or 'elseif': the condition, then the branch.
        bool taken = false;
        if (tok_.kind == Tok::If || tok_.kind == Tok::Elseif) {
            Advance();
            TokenRange condition;
            condition.begin = tok_.begin;
            condition.line = tok_.line;
            condition.lineStart = tok_.begin - tok_.column + 1;
            while (!AtLineEnd() && tok_.kind != Tok::Then)
                Advance();
            condition.end = tok_.begin;
            taken = !anyTaken && StaticValue(condition) == 1;
            Expect(Tok::Then, M::Want::Then);
        } else {
            Advance(); // else
            taken = !anyTaken;
        }
        EndLine();
        if (taken) {
            anyTaken = true;
            ends = ParseBlock();
        } else {
            SkipStaticBranch();
        }
        if (tok_.kind == Tok::Elseif || tok_.kind == Tok::Else)
            continue;
        if (tok_.kind == Tok::Endif) {
            Advance();
            EndLine();
        } else {
            ReportAt(tok_, M::Missing(QStringLiteral("endif"), QStringLiteral("static if"), start.line));
            blocksBroken_ = true;
        }
        break;
    }
    blocks_.pop_back();
    return anyTaken && ends;
}

// Passes over the lines of a branch up to its 'else', 'elseif' or 'endif'.
void Checker::SkipStaticBranch()
{
    quiet_ = true;
    int depth = 0;
    for (;;) {
        while (tok_.kind == Tok::Newline)
            Advance();
        if (tok_.kind == Tok::End)
            break;
        if (tok_.kind == Tok::Debug)
            Advance();
        if (tok_.kind == Tok::Name && tok_.symbol == words_->staticWord)
            Advance();
        if (tok_.kind == Tok::If) {
            ++depth;
        } else if (tok_.kind == Tok::Endif) {
            if (depth == 0)
                break;
            --depth;
        } else if ((tok_.kind == Tok::Else || tok_.kind == Tok::Elseif) && depth == 0) {
            break;
        }
        while (!AtLineEnd())
            Advance();
    }
    quiet_ = false;
    lineFailed_ = false;
}

// "implement M" inside a body pastes the module's lines there.
void Checker::ParseImplementStatement()
{
    Advance();
    bool optional = false;
    if (tok_.kind == Tok::Name && tok_.symbol == words_->optional) {
        optional = true;
        Advance();
    }
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::ModuleName))
        return EndLine();
    EndLine();
    const int module = symbols_[name.symbol].module;
    if (module < 0) {
        if (!optional)
            ReportAt(name, M::NotAModule(Name(name.symbol)));
        return;
    }
    const Node &n = tree_.nodes[size_t(objects_[size_t(module)].node)];
    if (n.body.empty() || implementDepth_ >= 16)
        return;
    // Read the module's lines with a lexer of their own, then go on here.
    Lexer *outerLex = lex_;
    const Token outerTok = tok_;
    const int outerEnd = previousEnd_;
    const int outerSource = source_;
    const QByteArray *outerText = text_;
    const bool outerFailed = lineFailed_;
    const std::vector<int> chain = activeScopes_;
    const int outerModule = ctx_.module;
    source_ = n.source;
    text_ = &pre_.sources[size_t(n.source)].text;
    Lexer lexer(text_->constData(), n.body.end, symbols_,
        [this](int line, int column, int length, int kind, int value) {
            if (!quiet_)
                LexProblem(line, column, length, kind, value);
        });
    lexer.SetVjass(true);
    lexer.Seek(n.body.begin, n.body.line, n.body.lineStart);
    lex_ = &lexer;
    tok_ = Token();
    lineFailed_ = false;
    Advance();
    SwitchScopes(objects_[size_t(module)].scope);
    ctx_.module = module;
    ++implementDepth_;
    ParseBlock();
    while (tok_.kind != Tok::End) {
        Stray();
        ParseBlock();
    }
    --implementDepth_;
    ctx_.module = outerModule;
    SetChain(chain);
    lex_ = outerLex;
    tok_ = outerTok;
    previousEnd_ = outerEnd;
    source_ = outerSource;
    text_ = outerText;
    lineFailed_ = outerFailed;
}

// "function F", "function S.method", "function thistype.method": code.
Checker::Value Checker::ParseVjassCodeReference(const Token &start)
{
    Value v = Start(start);
    Advance();
    const Token name = tok_;
    if (!Expect(Tok::Name, M::Want::FunctionName))
        return v;
    v.type = Code;
    const FunctionInfo *f = nullptr;
    Token reported = name;
    if (tok_.kind == Tok::Dot) {
        Advance();
        const Token method = tok_;
        reported = method;
        if (!Expect(Tok::Name, M::Want::FunctionName))
            return v;
        Finish(v);
        const int type = symbols_[name.symbol].type;
        const int object = type >= 0 ? types_[size_t(type)].object : -1;
        if (object < 0) {
            if (symbols_[name.symbol].placeholder < 0)
                ReportAt(name, M::NotAStruct(Name(name.symbol)));
            return v;
        }
        const int m = FindMember(object, method.symbol);
        if (m < 0 || members_[size_t(m)].function < 0) {
            NotAMember(method, object);
            return v;
        }
        if (!(members_[size_t(m)].flags & Static)) {
            ReportAt(method, M::NotStatic(Name(method.symbol)));
            return v;
        }
        f = &functions_[size_t(members_[size_t(m)].function)];
    } else {
        Finish(v);
        const Symbol &s = symbols_[name.symbol];
        if (s.function < 0) {
            if ((s.localOwner == epoch_ && s.local >= 0) || s.global >= 0)
                ReportAt(name, M::NotAFunction(Name(name.symbol)));
            else if (s.placeholder < 0)
                ReportUndeclared(name);
            return v;
        }
        f = &functions_[size_t(s.function)];
    }
    if (f->isNative)
        ReportAt(reported, M::CodeOfNative(Name(reported.symbol)));
    else if (!f->types.empty() && !f->broken)
        ReportAt(reported, M::CodeTakesArguments(Name(reported.symbol), int(f->types.size())));
    return v;
}

} // namespace Analysis
