// tolvan: level B. Owns: tolvanVariant. Depends on: variants/variant.h.
#include "variants/variant.h"

const Variant tolvanVariant = {"=== Skarnfell ===\n\n", &levelB, 3.0f, 3.0f, 0.0f, 230};
