function A takes nothing returns nothing
endfunction
