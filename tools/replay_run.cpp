// replay_run
