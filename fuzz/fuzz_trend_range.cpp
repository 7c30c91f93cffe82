// The trend's range box takes whatever the user types; reading it must always
// end in a usable range of at least 1.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "views/LeadingNumber.h"
#include "views/TrendModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)vantrel::LeadingNumber(text);
    vantrel::TrendModel model;
    (void)model.applyRange(text);
    if (!(model.TrendRange >= 1.0f) || !std::isfinite(model.TrendRange)) {
        std::abort();
    }
    return 0;
}
