globals
    real array speeds
    integer x = 1
    integer x=1
    constant real LIMIT = 2.0

endglobals
constant function Limit takes nothing returns integer
    return 20
endfunction
  functional Foo
