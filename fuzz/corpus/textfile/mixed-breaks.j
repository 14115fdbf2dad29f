line one
line twoline three
last