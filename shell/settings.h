// The width/height dialogue. Owns: runSettingsScreen. Depends on: world/game_state.h,
// render/frame_buffer.h,
// shell/present.h, platform/platform.h.
#pragma once

void runSettingsScreen();
