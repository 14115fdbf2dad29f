call Foo("café {x}")
