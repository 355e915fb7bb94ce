// The settings reader on arbitrary bytes: whatever it reads is a value its key can hold, every
// complaint is one line and there are few of them, and what it read written out again reads
// back the same, keeping the unknown keys, without a complaint but theirs.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "app/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const app::SettingsText read = app::ParseSettings(text, "settings.ini");
  if (!(app::WithinRange(read.settings) == read.settings)) std::abort();
  if (read.complaints.size() > 21) std::abort();
  for (const std::string& complaint : read.complaints)
    if (complaint.find('\n') != std::string::npos) std::abort();

  const app::SettingsText again =
      app::ParseSettings(app::FormatSettings(read.settings, read.unknownLines), "settings.ini");
  if (!(again.settings == read.settings) || again.unknownLines != read.unknownLines ||
      again.complaints.size() != std::min<std::size_t>(read.unknownLines.size(), 21))
    std::abort();
  return 0;
}
