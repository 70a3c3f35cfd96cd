// ziravo: level C. Owns: ziravoVariant. Depends on: variants/variant.h.
#include "variants/variant.h"

const Variant ziravoVariant = {"=== Zorvel's Map ===\n\n", &levelC, 5.0f, 5.0f, 0.0f, 256};
