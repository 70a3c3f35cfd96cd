// menu
