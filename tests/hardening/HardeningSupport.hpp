#pragma once
// Byte builders and folders shared by the hostile-input tests.
#include "tests/support/TestFiles.hpp"

namespace qm::hard {

using test::ProfileBytes;
using test::TempFolder;

}  // namespace qm::hard
