#pragma once

// How many decimals a value read back from a log has, for the windows that show it
// without knowing the channel it came from.

namespace vantrel::history {

inline constexpr int kMostValueDecimals = 7;

// The fewest decimals, up to kMostValueDecimals, that write the value so that it
// reads back as the same float: 25 has none, 1.5 one, 0.35 two. A value that is
// not a number has none.
int DecimalsOf(float value);

}  // namespace vantrel::history
