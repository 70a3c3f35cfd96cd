// raycaster tests
