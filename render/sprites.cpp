// sprites
