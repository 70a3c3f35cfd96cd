// The random sequence: the first values of a never-seeded Windows C runtime, and a reset that
// starts it over. Depends on: actors/runtime_random.h.
#include "actors/runtime_random.h"

#include <gtest/gtest.h>

namespace {

// Values 2, 4 and 10 carry bit 15 of the state, which the result leaves out.
TEST(RuntimeRand, NeverSeededSequenceAndItsReset) {
  for (int round = 0; round < 2; ++round) {
    resetRuntimeRand();
    for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) {
      EXPECT_EQ(runtimeRand(), value);
    }
  }
}

}  // namespace
