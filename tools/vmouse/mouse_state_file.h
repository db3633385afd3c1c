// vmouse's state file (serve --state FILE): a short header, then the mouse's settings field by
// field, so that a mouse remembers what it was sent across restarts.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "vmouse/virtual_mouse_model.h"

namespace ombrisk {

std::vector<std::uint8_t> encodeSettings(const MouseSettings& settings);
// Null when the bytes are not a whole state file.
std::optional<MouseSettings> decodeSettings(std::span<const std::uint8_t> bytes);

// The whole file; null when there is none (or it cannot be read).
std::optional<std::vector<std::uint8_t>> readStateFile(const std::string& path);
// Written beside the file and moved over it, so a stop mid-write keeps the old state.
void writeStateFile(const std::string& path, const MouseSettings& settings);

}  // namespace ombrisk
