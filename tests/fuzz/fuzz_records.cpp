// A records file read when its player is chosen: reading never crashes; what is accepted is
// written back to the same bytes and reads back alike; what is refused is set aside and
// replaced, and the profile beside it keeps its bytes.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "engine/Files.hpp"
#include "engine/UserFiles.hpp"
#include "game/rules/Records.hpp"
#include "tests/fuzz/FuzzSupport.hpp"

namespace {

bool CheckDecode(const std::string& bytes, qm::PlayerRecords& decoded) {
  using namespace qm;
  if (!DecodeRecords(bytes, decoded)) return false;
  if (EncodeRecords(decoded) != bytes) std::abort();
  PlayerRecords again;
  if (!DecodeRecords(EncodeRecords(decoded), again) || EncodeRecords(again) != bytes) std::abort();
  if (decoded.streak.current > decoded.streak.best) std::abort();
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qm;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  PlayerRecords resealed;
  CheckDecode(fuzz::Resealed(bytes), resealed);
  PlayerRecords decoded;
  const bool accepted = CheckDecode(bytes, decoded);

  MapGameFolder("players", fuzz::TempFolder() + "/players");
  std::error_code ignored;
  std::filesystem::create_directories(fuzz::TempFolder() + "/players", ignored);
  std::filesystem::create_directories(fuzz::TempFolder() + "/records", ignored);
  const std::string profile =
      "\x03"
      "Ana"
      "\x05\x01\x08\x00\x00\x00\x00"
      "\x10\x00\x00\x00\x00\x00\x00\x00";
  fuzz::WriteTempFile("players/2", reinterpret_cast<const uint8_t*>(profile.data()),
                      profile.size());
  fuzz::WriteTempFile("records/2", data, size);
  PlayerRecords records;
  const RecordsLoad load = LoadRecords(2, accepted ? decoded.playerName : "Ana", records);
  if (accepted && load != RecordsLoad::kRead) std::abort();
  if (!accepted && load != RecordsLoad::kSetAside) std::abort();
  if (!SaveRecords(2, records, nullptr)) std::abort();
  PlayerRecords back;
  if (LoadRecords(2, records.playerName, back) != RecordsLoad::kRead) std::abort();
  std::string onDisk;
  if (!ReadUserFile(UserFilePath("players", 2), onDisk, 1024) || onDisk != profile) std::abort();
  return 0;
}
