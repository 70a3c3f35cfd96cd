// hud
