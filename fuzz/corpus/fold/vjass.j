library A
/* if */ private struct S
  static method m takes nothing returns nothing
    if x then
    elseif "/*" then
    else
    endif
  endmethod
endstruct
//! textmacro T
function $X$
//! endtextmacro
endlibrary
