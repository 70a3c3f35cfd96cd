// enemies
