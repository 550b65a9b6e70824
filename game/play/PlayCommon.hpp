#pragma once
// Small helpers shared by the play screen's input, drawing and option panels.
#include <cstdint>
#include <string>

#include "game/GameState.hpp"

namespace qm {

// Sound slot 0 played at a rate that tells the action.
constexpr int kClickTakeBack = 12000;
constexpr int kClickDrop = 16000;
constexpr int kClickPickUp = 20000;
void PlayClick(int hertz);

// The Easel slot under the point (1..n), or 0 when the point is outside the Easel.
int EaselSlotAt(const EaselState& easel, int x, int y);

// A StatusLine start value that is a tick: 0 and 1 have their own meanings.
uint32_t StatusTick(uint32_t tick);

// Nearest integer, halves to even.
int RoundHalfEven(double value);

// Text helpers that tolerate counts out of range.
std::string LeftPart(const std::string& text, int64_t count);
std::string RightPart(const std::string& text, int64_t count);

}  // namespace qm
