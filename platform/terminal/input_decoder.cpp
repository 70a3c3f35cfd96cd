// input_decoder
