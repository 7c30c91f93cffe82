#include "history/ColumnHeading.h"

namespace vantrel::history {

std::string NameWithUnit(std::string_view name, std::string_view unit) {
    std::string text(name);
    if (!unit.empty()) {
        text += " [";
        text += unit;
        text += ']';
    }
    return text;
}

ColumnHeading SplitUnit(std::string_view heading) {
    const std::size_t open = heading.rfind(" [");
    if (!heading.ends_with(']') || open == std::string_view::npos || open == 0 ||
        open + 3 >= heading.size() || heading.find('[', open + 2) != std::string_view::npos) {
        return {std::string(heading), {}};
    }
    return {std::string(heading.substr(0, open)),
            std::string(heading.substr(open + 2, heading.size() - open - 3))};
}

}  // namespace vantrel::history
