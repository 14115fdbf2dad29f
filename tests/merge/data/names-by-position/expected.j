globals
    integer array counts
    integer x=1
    constant integer LIMIT = 10

    integer x = 1
endglobals
constant function Limit takes nothing returns integer
    return LIMIT
endfunction

    return 20
endfunction
  functional Foo

