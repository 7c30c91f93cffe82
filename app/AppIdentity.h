#pragma once

// How the program names itself to Qt and to the desktop.

namespace vantrel {

// Name, version and desktop entry of the application.
void SetApplicationIdentity();

// The icon of every window, the child windows' title bars included; needs the
// application to exist.
void SetApplicationIcon();

}  // namespace vantrel
