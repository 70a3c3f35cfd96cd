// console model tests
