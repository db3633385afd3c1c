// The handshake that proves the mouse speaks the command protocol and decides whether
// frames are scrambled. Portable: the Win32 link wraps it with its messages and LinkReady,
// tools call it directly.
#pragma once

#include "device/command_protocol.h"

namespace ombrisk {

// Sends the handshake frame plain, then (when the plain answer does not echo the magic)
// scrambled, pausing 5 ms between each send and its read-back. True when the scrambled
// answer carries the magic: scrambling is then on with the protocol's key. A mouse that
// echoes the plain frame, or one that answers neither, gives false and scrambling off.
bool runHandshake(CommandProtocol& protocol, Pauser& pauser);

}  // namespace ombrisk
