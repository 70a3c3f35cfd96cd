// frame_loop
