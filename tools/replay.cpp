// replay
