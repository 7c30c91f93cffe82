// The leading-number reader takes whatever a user types under every caller's
// rules (a range read as 0 rather than an infinity must stay finite), and the
// trend's range box must always end in a usable range of at least 1.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/LenientNumber.h"
#include "views/TrendModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)vantrel::LeadingNumber(text, vantrel::number_rules::kCardField);
    (void)vantrel::LeadingNumber(text, vantrel::number_rules::kTrendRange);
    if (!std::isfinite(vantrel::LeadingNumber(text, vantrel::number_rules::kInputRange))) {
        std::abort();
    }
    vantrel::TrendModel model;
    (void)model.applyRange(text);
    if (!(model.TrendRange >= 1.0f) || !std::isfinite(model.TrendRange)) {
        std::abort();
    }
    return 0;
}
