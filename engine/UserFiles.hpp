#pragma once
// The files the game keeps for a player beside the profiles ("saves/N", "records/N" below
// the folder that holds "players/"). One writer for all of them: a whole temporary file,
// fsync, rename; the old file survives any failure.
#include <cstddef>
#include <string>

namespace qm {

// The host path of per-user file `kind`/`number` ("saves", 3), beside the players folder.
std::string UserFilePath(const std::string& kind, int number);

// Replaces hostPath with bytes crash-safely. On failure nothing is replaced, and error (when
// given) says why in words fit for a player ("No space left on device: /home/..").
bool WriteUserFile(const std::string& hostPath, const std::string& bytes, std::string* error);

// Reads a whole regular file of at most maxBytes; false when missing, not a regular file,
// unreadable or larger (a FIFO or a device is never opened for a blocking read).
bool ReadUserFile(const std::string& hostPath, std::string& bytes, size_t maxBytes);

// Renames a damaged file to hostPath + ".bad" (replacing an older one) so it is kept for a
// bug report but never read again.
void SetAsideUserFile(const std::string& hostPath);

}  // namespace qm
