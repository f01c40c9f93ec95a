// The heap in large pages for the runs without a window. A run over a million links holds them
// as a million small strings; in 4 KB pages their first touch costs some 70,000 page faults, a
// third of the run on a machine where faults are dear. The C library puts its heap in 2 MB
// pages only when told so by its environment at start, so the program starts itself again once
// with that setting (unless the user set the C library's settings himself) and removes it
// again, so that nothing the program starts inherits it.
#pragma once

namespace platform {

// Returns in the restarted program, or when a restart is not possible or not needed.
void UseLargeHeapPages(char** argv);

}  // namespace platform
