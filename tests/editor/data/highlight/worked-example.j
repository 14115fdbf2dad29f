call Foo(1)
