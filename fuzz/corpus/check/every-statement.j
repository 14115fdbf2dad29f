function A takes integer i returns nothing
  local integer x
  local integer y = 1
  if x == 1 then
  elseif
  else // c
  endif x
  loop
    exitwhen
    exitwhen x > 1
  endloop
  set x
  set x = 
  set x=1//=
  call
  call A(1)
  return
  endfunction  // done
endfunction x
native B takes returns
function takes nothing returns nothing
foo bar
