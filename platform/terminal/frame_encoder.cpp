// frame_encoder
