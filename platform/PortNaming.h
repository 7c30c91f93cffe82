#pragma once

// Settings keep serial ports as numbers; this turns a number into the device the
// port opens, and the card communication dialog shows the same name beside it.

#include <string>
#include <string_view>

namespace vantrel::platform {

// Windows: "COMn". Elsewhere: the entry "COMn" of the start folder when it exists
// (a symbolic link to a USB adapter or a pseudo-terminal, dangling or not), else
// /dev/ttyUSB{n-1}, so the first USB adapter is port 1. Empty for n < 1.
std::string SerialDeviceName(int portNumber, std::string_view appDir);

}  // namespace vantrel::platform
