call Foo(1)
