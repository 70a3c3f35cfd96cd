// frame_buffer
