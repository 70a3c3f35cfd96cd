// The three level tables and cellAt.
