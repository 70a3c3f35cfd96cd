// decoder tests
