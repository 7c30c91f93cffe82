#pragma once

namespace vantrel::testing {

// Sets VANTREL_SOURCE_DIR and VANTREL_BINARY_DIR to this build's folders unless
// they are set already.
void PrepareTestEnvironment();

}  // namespace vantrel::testing
