// key_tracker
