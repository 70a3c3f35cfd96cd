// marbek: level A. Owns: marbekVariant. Depends on: variants/variant.h.
#include "variants/variant.h"

const Variant marbekVariant = {"=== Brumvoke ===\n\n", &levelA, 15.0f, 3.5f, 180.0f, 10};
