#pragma once

namespace qm {

// Thrown instead of ending the process when a test asked for it.
struct ProgramEnded {};

// The one way the program ends: shuts the engine down (closing and flushing open files)
// and exits with code 0. Never returns.
[[noreturn]] void EndProgram();

// Test hook: make EndProgram shut down and throw ProgramEnded instead of exiting.
void SetEndProgramThrows(bool throws);

}  // namespace qm
