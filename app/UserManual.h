#pragma once

// Where the user manual is: installed beside the program, or, for a program run
// from a build tree, the copy in the source tree it was built from.

#include <QString>

namespace vantrel {

// The manual's file, or an empty text when neither copy exists.
QString UserManualPath();

}  // namespace vantrel
