type agent extends handle
type widget extends agent
type unit extends widget
globals
    constant integer MAX = 0x1F
    integer count = $10 + 017
    real half = .5
    real one = 1.
    string text = "a \"quoted\" word\n\t\\"
    boolean flag = not true or false and 1 <= 2
    unit array units
    code nothingYet = null
    integer raw = 'hfoo' + 'A'
endglobals
native GetUnitX takes unit u returns real
constant native CountUnits takes nothing returns integer
constant function Twice takes integer i returns integer
    return i * 2
endfunction
function Walk takes unit u, integer n returns real
    local integer i = 0
    local real sum = -1.5
    local unit array seen
    loop
        exitwhen i >= n or i > MAX
        set seen[i] = u
        set sum = sum + GetUnitX(seen[i]) / (i + 1) - +2
        if i % 2 == 0 then
            set count = count + Twice(i)
        elseif i != 3 then
            debug call Walk(u, i)
        else
            set text = text + I2S(i)
        endif
        set i = i + 1
    endloop
    return sum
endfunction
function Start takes nothing returns nothing
    set nothingYet = function Start
    call Walk(units[0], CountUnits())
endfunction
