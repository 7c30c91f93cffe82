#pragma once

// Standard input, output and error as the program may rely on them: open even when
// the program was started with them closed, and a reader that went away ends no
// write with SIGPIPE. Done first thing in main, before anything opens a file, so no
// file, pipe or port lands on descriptor 0, 1 or 2 where a stray status line or a
// read of standard input would reach it.

namespace vantrel::platform {

// Opens each of descriptors 0, 1 and 2 that is closed on /dev/null, and ignores
// SIGPIPE (a write to a pipe nobody reads then fails with EPIPE instead).
void GuardStandardStreams();

}  // namespace vantrel::platform
