#pragma once
// The words generated levels are named with: the project's own list.
#include <array>

namespace qm::gen {

inline constexpr std::array<const char*, 48> kTitleAdjectives = {
    "Amber",    "Ashen",    "Autumn",   "Blue",     "Brass",    "Bright",   "Broken",   "Copper",
    "Crooked",  "Distant",  "Drowsy",   "Dusky",    "Emerald",  "Fading",   "Forgotten", "Frozen",
    "Gentle",   "Gilded",   "Glass",    "Golden",   "Green",    "Hidden",   "Hollow",   "Ivory",
    "Quiet",    "Lonely",   "Lost",     "Misty",    "Narrow",   "Northern", "Old",      "Pale",
    "Patient",  "Red",      "Restless", "Rusty",    "Salt",     "Secret",   "Silent",   "Silver",
    "Sleeping", "Stony",    "Sunlit",   "Tangled",  "Velvet",   "Whispering", "Wild",   "Winding"};

inline constexpr std::array<const char*, 48> kTitleNouns = {
    "Alley",    "Anchor",   "Archway",  "Attic",    "Bay",      "Bell",     "Bridge",   "Brook",
    "Canal",    "Castle",   "Cellar",   "Chapel",   "Cloister", "Corridor", "Court",    "Crossing",
    "Dunes",    "Field",    "Ford",     "Forest",   "Fountain", "Garden",   "Gate",     "Glade",
    "Grove",    "Hall",     "Harbour",  "Heath",    "Hill",     "Island",   "Lagoon",   "Library",
    "Lighthouse", "Market", "Meadow",   "Mill",     "Orchard",  "Passage",  "Quarry",   "Reef",
    "Ridge",    "Steps",    "Terrace",  "Tower",    "Valley",   "Vault",    "Well",     "Yard"};

inline constexpr std::array<const char*, 16> kTitleThings = {
    "Lanterns", "Letters", "Ink", "Echoes", "Keys", "Quills", "Riddles", "Stars",
    "Tiles", "Whispers", "Words", "Shadows", "Clocks", "Mirrors", "Secrets", "Scrolls"};

}  // namespace qm::gen
