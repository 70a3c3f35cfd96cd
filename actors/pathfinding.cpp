// pathfinding
