#include "tests/support/test_environment.h"

#include <cstdlib>

namespace vantrel::testing {

void PrepareTestEnvironment() {
    setenv("VANTREL_SOURCE_DIR", VANTREL_SOURCE_DIR_DEFAULT, 0);
    setenv("VANTREL_BINARY_DIR", VANTREL_BINARY_DIR_DEFAULT, 0);
}

}  // namespace vantrel::testing
