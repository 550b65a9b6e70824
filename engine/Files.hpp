#pragma once
// Buffered binary file slots. Paths use the game's own form ("maps\12"):
// backslashes are folder separators and are mapped to '/' on open.
#include <cstdint>
#include <string>

namespace qm {

// Opens an existing file for reading; closes what the slot held first. Nonzero on success.
int OpenFileForReading(int slot, const std::string& path);
// Creates (or truncates) a file for writing; closes what the slot held first. Nonzero on success.
int CreateFileForWriting(int slot, const std::string& path);
// Flushes pending bytes and empties the slot; -1 closes every slot.
void CloseFileSlot(int slot);

int8_t ReadInt8(int slot);
int16_t ReadInt16(int slot);
int64_t ReadInt64(int slot);
void WriteInt8(int slot, int64_t value);   // low 8 bits
void WriteInt16(int slot, int64_t value);  // low 16 bits (tools only)
void WriteInt64(int slot, int64_t value);
int FileAtEnd(int slot);
std::string ReadTextLine(int slot);

// Maps a game path ("gfx\000\1.bmp") to a host path relative to the working folder,
// except "players\N", which lives in the per-user profile folder.
std::string HostPath(const std::string& gamePath);

// Points a game folder ("players", "dico-english", "maps") at another host folder; later game
// paths below it resolve there. An empty host folder removes the mapping again. By default
// "players" maps to $XDG_DATA_HOME/quillmosaica/players (~/.local/share/... without it).
void MapGameFolder(const std::string& gameFolder, const std::string& hostFolder);

// The host folder that game paths no mapping claims resolve below; empty (the default) is
// the working folder. Start-up sets it once it has found the game folder.
void SetGameFolder(const std::string& hostFolder);
const std::string& GameFolder();

// The folder of the running executable, from /proc/self/exe; empty when it cannot be read.
std::string ExecutableFolder();

// Counts every successful open since start (benchmarks check a steady frame opens nothing).
uint64_t FileOpenCount();

}  // namespace qm
