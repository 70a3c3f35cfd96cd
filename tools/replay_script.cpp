// replay_script
