globals
    integer count = 0
    constant real SPEED = 1.5
    real rate
endglobals

// Adds one.
function Helper takes integer i returns integer
    // inside the first helper
    return i + 1
endfunction

function First takes nothing returns nothing
    set count = Helper(count)
endfunction


// Adds one.
call Second()

function Second takes nothing returns nothing
    call First()
endfunction

native Third takes nothing returns nothing

