// The system's private-profile API with the product store's single operations, so tests can
// show that the files of either are the other's.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace ombrisk::testing {

class SystemProfileStore {
 public:
  std::string read(const std::string& file, std::string_view section, std::string_view key,
                   std::string_view fallback = {});
  bool write(const std::string& file, std::string_view section, std::string_view key, std::string_view value);
  bool deleteSection(const std::string& file, std::string_view section);
  std::vector<std::string> sectionNames(const std::string& file);
};

}  // namespace ombrisk::testing
