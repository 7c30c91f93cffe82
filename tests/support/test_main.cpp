#include <gtest/gtest.h>

#include "tests/support/test_environment.h"

int main(int argc, char** argv) {
    vantrel::testing::PrepareTestEnvironment();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
