// pathfinding tests
