function A takes integer x returns integer
    local unit u = 5
    call CreateUnit(1, 2)
    set MAX = 3
    if x then
    loop
    return
endfunctionfunction B takes nothing returns code
    return null
    set y[1] = "unterminated
endloop
endif
