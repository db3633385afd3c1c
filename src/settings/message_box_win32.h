// MessageSink on the system's message box (one OK button).
#pragma once

#include <memory>

#include "settings/file_io.h"

namespace ombrisk {

std::unique_ptr<MessageSink> makeMessageBoxSink();

}  // namespace ombrisk
