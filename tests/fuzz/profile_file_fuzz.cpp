// str.ini and record.ini in every encoding the store accepts (UTF-16LE with its mark, UTF-8
// with or without one, other 8-bit text): what is read, written and read again agrees.
#include <cstdlib>

#include "settings/profile_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ombrisk;
  ProfileDocument file = ProfileDocument::fromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
  const std::vector<std::string> names = file.sectionNames();
  for (std::size_t i = 0; i < names.size() && i < 16; ++i) {
    const ProfileSection section = file.section(names[i]);
    if (!section.exists()) std::abort();
    section.read("ItemCount");
    // The single read looks the key up its own way (a scan of the lines); it must find the
    // same value. Each lookup scans the file, so a few sections suffice for it.
    if (i < 4 && file.read(names[i], "Path", "none") != section.read("Path", "none")) std::abort();
  }
  // A write is read back, whatever the lines around it (a second "[" in a header names
  // another section, which the write then adds at the end).
  file.write("Skins", "Path", "Carbon");
  if (file.read("Skins", "Path") != "Carbon") std::abort();
  const ProfileDocument again = ProfileDocument::fromBytes(file.toBytes());
  if (again.sectionNames() != file.sectionNames()) std::abort();
  if (again.read("Skins", "Path") != file.read("Skins", "Path")) std::abort();
  return 0;
}
