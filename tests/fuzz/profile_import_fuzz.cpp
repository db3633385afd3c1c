// A profile as ombriskctl import reads it, from anyone: read and checked against an
// installation's files; what it is taken for is exported again, and that profile read once
// more gives the same files and, exported, the same document.
#include <cstdlib>
#include <string_view>

#include "ombriskctl/profile_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ombrisk;
  using namespace ombrisk::ctl;
  // The installation it is imported into: a config.bin as installed, nothing else yet.
  UtilityFiles base;
  base.configLoaded = true;
  const FilesOfProfile read = filesOfProfileText(std::string_view(reinterpret_cast<const char*>(data), size), base);
  if (!read.files) {
    // A refusal says what it refuses.
    if (read.problem.message.empty()) std::abort();
    return 0;
  }
  // Files taken from a profile always make one, which is taken for the same files.
  const ProfileOfFiles exported = profileOf(*read.files);
  if (!exported.document) std::abort();
  const FilesOfProfile again = filesOfProfile(*exported.document, base);
  if (!again.files) std::abort();
  const UtilityFiles& first = *read.files;
  const UtilityFiles& second = *again.files;
  if (second.record != first.record || second.labels != first.labels || second.macros != first.macros ||
      second.languageCode != first.languageCode || second.skin.path != first.skin.path ||
      second.skin.red != first.skin.red || second.skin.green != first.skin.green || second.skin.blue != first.skin.blue)
    std::abort();
  const ProfileOfFiles twice = profileOf(second);
  if (!twice.document || json::write(*twice.document) != json::write(*exported.document)) std::abort();
  return 0;
}
