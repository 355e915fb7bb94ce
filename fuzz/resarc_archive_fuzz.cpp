// resarc's archive reader on arbitrary bytes, listed as `resarc list` lists it (which decodes
// every picture and reads every wave header). An archive it reads hands out only bytes from
// inside it, no more than a few times its size, and one line per entry; written again, it
// reads back the same.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

#include "tools/archive_writer.h"
#include "tools/resarc/archive_index.h"
#include "tools/resarc/commands.h"
#include "tools/resarc/error.h"

namespace {

constexpr std::size_t kWritableNameLength = 15;

void CheckEntries(std::span<const std::uint8_t> image,
                  const std::vector<resarc::IndexedEntry>& entries) {
  std::uint64_t handedOut = 0;
  for (const resarc::IndexedEntry& entry : entries) {
    const auto offset = static_cast<std::uint64_t>(entry.offset);
    const auto size = static_cast<std::uint64_t>(entry.size);
    if (entry.size < 0 || offset > image.size() || size > image.size() - offset ||
        entry.data.size() != size ||
        !std::equal(entry.data.begin(), entry.data.end(), image.begin() + entry.offset)) {
      std::abort();
    }
    handedOut += entry.data.size();
  }
  if (handedOut > 4 * image.size()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> image(data, size);
  std::vector<resarc::IndexedEntry> entries;
  try {
    entries = resarc::ParseArchiveIndex(image, "fuzz.dat");
  } catch (const resarc::Error&) {
    return 0;
  }
  CheckEntries(image, entries);

  std::ostringstream listing;
  resarc::ListEntries(entries, listing);
  const std::string text = listing.str();
  if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) != entries.size() + 1) {
    std::abort();
  }

  if (std::any_of(entries.begin(), entries.end(), [](const resarc::IndexedEntry& entry) {
        return entry.name.size() > kWritableNameLength;
      })) {
    return 0;
  }
  std::vector<tools::ArchiveItem> items;
  for (const resarc::IndexedEntry& entry : entries) {
    items.push_back({entry.name, entry.kind, entry.data});
  }
  const gfx::ByteBuffer again = tools::BuildArchive(items);
  const std::vector<resarc::IndexedEntry> back = resarc::ParseArchiveIndex(again, "again.dat");
  if (back.size() != entries.size()) std::abort();
  for (std::size_t i = 0; i < back.size(); ++i) {
    if (back[i].name != entries[i].name || back[i].kind != entries[i].kind ||
        back[i].data != entries[i].data) {
      std::abort();
    }
  }
  return 0;
}
