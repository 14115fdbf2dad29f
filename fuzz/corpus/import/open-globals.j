globals
  integer x
