#pragma once
#include <cstdint>
#include <functional>

namespace qm {

// The game's one clock: milliseconds since start. Game code takes time only from here,
// which is what makes replays exact under the virtual clock.
uint32_t TickCount();

// Sleeps (or, under the virtual clock, advances the clock by) ms milliseconds.
void PauseMs(int ms);

// Today's date in UTC as YYYYMMDD (20261211), from the wall clock: the one day every
// player shares, whatever their time zone. Game code reads the date only from here.
int32_t UtcDateNumber();

// ---- Engine side: how the virtual clock moves ------------------------------------------
// A present moves the virtual clock by one frame step.
void NoteClockPresent();
// A poll or tick read. Many of them without a present mean a loop that spins
// (the title hold, a wait for a button release), so the clock creeps on by 1 ms each.
void NoteClockSpin();
// A wait of ms milliseconds (a waiting poll).
void NoteClockWait(int ms);

// ---- Test hooks, never used by the game itself ------------------------------------------
void UseVirtualClock(bool on, uint32_t startTick = 0, uint32_t frameStepMs = 16);
bool VirtualClockInUse();
void AdvanceVirtualClock(uint32_t ms);
// Makes UtcDateNumber answer yyyymmdd (0 goes back to the wall clock).
void SetUtcDateForTests(int32_t yyyymmdd);
// Called with the new tick every time the virtual clock moves (replays inject input here).
void SetVirtualClockListener(std::function<void(uint32_t)> listener);

}  // namespace qm
