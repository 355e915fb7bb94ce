// The file dialog's names on arbitrary bytes, both ways a player names a saved game. A file of
// any name the folder can hold is listed by its own bytes, and picked from the list and
// accepted it names that very file. A typed name the dialog takes names a file inside the
// folder, which the list then shows as typed and which, picked again, is that same file.
#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialogs/edit_controls.h"
#include "dialogs/file_dialog.h"
#include "gfx/font.h"

namespace {

namespace fs = std::filesystem;

// A folder of the run's own, gone when the run ends.
struct RunFolder {
  RunFolder() {
    std::string pattern = (fs::temp_directory_path() / "redhollow-name-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~RunFolder() {
    std::error_code error;
    fs::remove_all(path, error);
  }
  fs::path path;
};

const fs::path& Folder() {
  static const RunFolder folder;
  return folder.path;
}

// The file that a name picked from the list and accepted names, checked against `expected`.
void PickAndAccept(const std::string& listed, const fs::path& expected) {
  const std::vector<std::string> names = dialogs::ListSavedGames(Folder(), "sav");
  if (std::count(names.begin(), names.end(), listed) != 1) std::abort();
  dialogs::SaveNameChoice choice;
  const std::string shown = dialogs::FieldText(listed);
  choice.Pick(listed, shown);
  const fs::path accepted = Folder() / (choice.NameFor(shown) + ".sav");
  std::error_code error;
  if (!fs::equivalent(accepted, expected, error)) std::abort();
}

// Whether the folder can hold a file of this name that the list would show.
bool Listable(const std::string& name) {
  return !name.empty() && name.front() != '.' && name.size() + 4 <= 255 &&
         name.find_first_of(std::string("/\0", 2)) == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  if (Listable(input)) {
    const fs::path file = Folder() / (input + ".sav");
    std::ofstream(file) << 'x';
    PickAndAccept(input, file);
    fs::remove(file);
  }

  const std::string typed = gfx::EncodeUtf8(dialogs::TypedCharacters(input));
  if (!dialogs::RefusedSaveName(typed).empty()) return 0;
  const fs::path file = Folder() / (typed + ".sav");
  if (file.parent_path() != Folder()) std::abort();
  // What the field shows of a typed name is the name itself.
  if (dialogs::FieldText(typed) != typed) std::abort();
  std::ofstream(file) << 'x';
  PickAndAccept(typed, file);
  fs::remove(file);
  return 0;
}
