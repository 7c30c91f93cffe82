#pragma once

// Keeps a damaged file's bytes beside it before anything replaces them, under a
// name no earlier copy holds ("<name>.bad", then "<name>.1.bad", ...): an older
// copy may be the only one left of what the file held.

#include <string>
#include <system_error>

namespace vantrel {

struct DamagedCopy {
    std::string path;       // the copy made, or the last name tried
    std::error_code error;  // why no copy was made
};

DamagedCopy KeepDamagedCopy(const std::string& path);

}  // namespace vantrel
