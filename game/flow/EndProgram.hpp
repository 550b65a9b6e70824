#pragma once

namespace qm {

// Thrown instead of ending the process when a test asked for it.
struct ProgramEnded {
  int status = 0;  // the exit status the process would have ended with
};

// The one way the program ends: shuts the engine down (closing and flushing open files)
// and exits with code 0 (status: only a game folder that cannot be found, or no display,
// ends otherwise).
// Never returns.
[[noreturn]] void EndProgram(int status = 0);

// Test hook: make EndProgram shut down and throw ProgramEnded instead of exiting.
void SetEndProgramThrows(bool throws);

}  // namespace qm
