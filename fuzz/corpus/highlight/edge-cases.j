// a comment line
call BJDebugMsg("a // not a comment")
set x=1//c
set s='a'+'b'
set s = "say \"hi\" now" + x
set s = "ends with \\" + y
set r = .5 + 1.0
if not ! x then
set a = f(g(h))
{ brace } stray
function function Foo takes nothing returns nothing
	local integer i = 0
    
set s = "open string // runs on
return bj_PI*2
