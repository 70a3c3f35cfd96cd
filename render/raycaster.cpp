// raycaster
