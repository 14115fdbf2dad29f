function F takes nothing returns nothing
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
if true then
loop
call F(((((((((((-(not true)))))))))))
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endloop
endif
endfunction
