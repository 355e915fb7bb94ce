// The one kind of failure resarc reports: a sentence for the player, printed on one line.
#pragma once

#include <stdexcept>
#include <string>

namespace resarc {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace resarc
