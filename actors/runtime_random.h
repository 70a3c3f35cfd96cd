// The random numbers the enemies draw: the sequence of the C runtime the game was made for, the
// same in every build whatever C library it links, so a recorded game plays back alike everywhere.
// Owns: runtimeRand, resetRuntimeRand. Depends on: nothing.
#pragma once

// The next value in [0, 32767].
int runtimeRand();

// Back to the sequence of a program that never seeded its generator.
void resetRuntimeRand();
