// The tests' main: GoogleTest's, with every test given a configuration folder of its own
// (XDG_CONFIG_HOME), so that no test reads or writes the player's settings and no test sees
// what another one wrote.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class OwnConfigFolder final : public ::testing::EmptyTestEventListener {
 public:
  OwnConfigFolder() { Make(); }
  ~OwnConfigFolder() override { Remove(); }

  void OnTestStart(const ::testing::TestInfo&) override { Make(); }
  void OnTestEnd(const ::testing::TestInfo&) override { Remove(); }

 private:
  void Make() {
    Remove();
    std::string pattern =
        (std::filesystem::temp_directory_path() / "redhollow-config-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      // Nowhere to write: a folder that cannot exist keeps the player's own out of reach.
      pattern = "/nonexistent/redhollow-test-config";
    } else {
      folder_ = pattern;
    }
    ::setenv("XDG_CONFIG_HOME", pattern.c_str(), 1);
  }
  void Remove() {
    if (folder_.empty()) return;
    std::error_code ignored;
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(folder_, ignored);
    folder_.clear();
  }

  std::filesystem::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new OwnConfigFolder);
  return RUN_ALL_TESTS();
}
