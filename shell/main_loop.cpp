// main_loop
