// resarc: reads, unpacks, repacks and reviews the game's resource archives, for players who
// change the art. Run without arguments for the commands.
#include <cstdio>
#include <exception>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tools/resarc/commands.h"
#include "tools/resarc/error.h"
#include "tools/resarc/preview_map.h"
#include "tools/resarc/sheet.h"

namespace {

constexpr const char* kUsage =
    "usage: resarc list ARCHIVE\n"
    "       resarc extract ARCHIVE DIR\n"
    "       resarc frames ARCHIVE ENTRY DIR\n"
    "       resarc pack DIR ARCHIVE\n"
    "       resarc sheet [--only NAME,NAME...] ARCHIVE OUT.png\n"
    "       resarc preview-map [--archive res02.dat] OUT.png\n";

constexpr int kUsageStatus = 2;

std::vector<std::string> SplitCommas(std::string_view text) {
  std::vector<std::string> parts;
  std::stringstream stream{std::string(text)};
  std::string part;
  while (std::getline(stream, part, ',')) {
    if (!part.empty()) parts.push_back(part);
  }
  return parts;
}

// Splits "--option VALUE" pairs from the positional arguments; false on a stray option.
bool SplitArguments(const std::vector<std::string>& args, std::string_view option,
                    std::string& value, std::vector<std::string>& positional) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == option) {
      if (i + 1 >= args.size()) return false;
      value = args[++i];
    } else if (args[i].size() > 2 && args[i].starts_with("--")) {
      return false;
    } else {
      positional.push_back(args[i]);
    }
  }
  return true;
}

int Run(const std::string& command, const std::vector<std::string>& args) {
  std::vector<std::string> positional;
  std::string value;
  if (command == "list" && args.size() == 1) {
    resarc::ListArchive(args[0], std::cout);
  } else if (command == "extract" && args.size() == 2) {
    resarc::ExtractArchive(args[0], args[1]);
  } else if (command == "frames" && args.size() == 3) {
    resarc::ExtractFrames(args[0], args[1], args[2]);
  } else if (command == "pack" && args.size() == 2) {
    resarc::PackArchive(args[0], args[1]);
  } else if (command == "sheet" && SplitArguments(args, "--only", value, positional) &&
             positional.size() == 2) {
    resarc::SheetOptions options;
    options.only = SplitCommas(value);
    resarc::WriteContactSheet(positional[0], positional[1], options);
  } else if (command == "preview-map" && SplitArguments(args, "--archive", value, positional) &&
             positional.size() == 1) {
    resarc::WritePreviewMap(value.empty() ? std::string("res02.dat") : value, positional[0]);
  } else {
    std::fputs(kUsage, stderr);
    return kUsageStatus;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs(kUsage, stderr);
    return kUsageStatus;
  }
  try {
    return Run(argv[1], std::vector<std::string>(argv + 2, argv + argc));
  } catch (const std::exception& e) {  // resarc::Error among them
    std::fprintf(stderr, "resarc: %s\n", e.what());
  }
  return 1;
}
