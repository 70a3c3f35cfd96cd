// console model
