// menu tests
