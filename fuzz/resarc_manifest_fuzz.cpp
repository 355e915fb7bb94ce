// resarc's manifest reader on arbitrary text. A manifest it takes names only files inside its
// folder and comes back the same when it is written out and read again.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tools/resarc/error.h"
#include "tools/resarc/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::istringstream text(std::string(reinterpret_cast<const char*>(data), size));
  std::vector<resarc::ManifestEntry> entries;
  try {
    entries = resarc::ParseManifest(text, "manifest.txt");
  } catch (const resarc::Error&) {
    return 0;
  }
  for (const resarc::ManifestEntry& entry : entries) {
    const std::filesystem::path file(entry.file);
    if (file.empty() || file.has_root_path() ||
        std::find(file.begin(), file.end(), "..") != file.end()) {
      std::abort();
    }
  }
  std::istringstream written(resarc::FormatManifest(entries));
  if (resarc::ParseManifest(written, "written.txt") != entries) std::abort();
  return 0;
}
