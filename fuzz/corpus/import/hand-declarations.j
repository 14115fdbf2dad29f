type agent extends handle
type  unit   extends	widget // c
globals
  constant integer A = 1
  integer array B
  string s = "a // b \" c"
  real r = ( 1 +
     2 )
  integer x
  = 5
endglobals
constant native Foo takes integer a,integer b returns nothing
native Bar takes
  nothing returns real
function Baz takes unit u , real r returns boolean
  return true
endfunction
