globals
    integer count = 0
    constant real SPEED = 1.5
endglobals

// Adds one.
function Helper takes integer i returns integer
    // inside the first helper
    return i + 1
endfunction

function First takes nothing returns nothing
    set count = Helper(count)
endfunction
