#pragma once

#include <stdexcept>
#include <string>

namespace tilvera {

// A fault the user can mend (a bad file, a bad path, too few uniforms): its
// message is printed after "tilvera-render: " and the run exits with status 2.
class RenderError : public std::runtime_error {
 public:
  explicit RenderError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace tilvera
