// MessageSink on the system's message box (one OK button).
#pragma once

#include <memory>

#include "util/message_sink.h"

namespace ombrisk {

std::unique_ptr<MessageSink> makeMessageBoxSink();

}  // namespace ombrisk
