// A message box with one OK button (or, in tests and tools, whatever stands for one). The
// core shows its few messages through it and never calls the shell itself.
#pragma once

#include <string>

namespace ombrisk {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void show(const std::string& text, const std::string& caption) = 0;
};

}  // namespace ombrisk
