globals
    integer count = 0
    real rate
endglobals

// Adds one.
function Helper takes integer i returns integer
    // inside the second helper
    return i + 2
endfunction
call Second()

function Second takes nothing returns nothing
    call First()
endfunction