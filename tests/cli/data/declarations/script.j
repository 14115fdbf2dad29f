call Foo(bj_X)
// GetAiPlayer ARCH
call GetAiPlayer() + ARCH[1] + foo
