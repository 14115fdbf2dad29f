    integer array counts
    integer x=1
    constant integer LIMIT = 10

constant function Limit takes nothing returns integer
    return LIMIT
endfunction

    integer x = 1
    return 20
endfunction
  functional Foo

