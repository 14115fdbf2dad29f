globals
    integer array counts
    integer x=1
    constant integer LIMIT = 10

    real array speeds
endglobals
constant function Limit takes nothing returns integer
    return LIMIT
endfunction

    return 20
endfunction
  functional Foo

