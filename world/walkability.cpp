// isBlocked.
