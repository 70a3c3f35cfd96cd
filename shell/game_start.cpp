// game_start
