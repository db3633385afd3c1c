// Frame and block transactions on the command interface.
#pragma once

#include <span>

#include "device/command_port.h"
#include "device/report_frame.h"

namespace ombrisk {

class CommandProtocol {
 public:
  CommandProtocol(CommandPort& port, Pauser& pauser) : port_(port), pauser_(pauser) {}

  // Scrambling is switched on by a successful scrambled handshake.
  void setScrambling(bool on, const ScrambleKey& key = {}) {
    scrambling_ = on;
    key_ = key;
  }
  bool scrambling() const { return scrambling_; }

  // Seals the checksum into byte 7, sends the frame as a feature report and, for a read
  // command (bit 7 of the plain command byte), reads one feature report back into frame.
  // Returns the result of the send.
  bool frameTransaction(Frame& frame);
  // As frameTransaction; then a write sends ceil(n / 32) output reports of data
  // (n = frame byte 2), 3 ms after each, and a read appends ceil(n / 32) input reports to
  // data (n = answered byte 2). A read first drops the input reports already waiting, so a
  // block that came after its wait never passes for the answer to this read. Never touches
  // data beyond its size; a block that does not come leaves zeros.
  bool blockTransaction(Frame& frame, std::span<std::uint8_t> data);

  // Whether a port call of a transaction failed (the link broke, or an input report did not
  // come in time) since the last clearTransferFailure(). The transactions themselves go on
  // as the protocol wants, with zeros for what did not come.
  bool transferFailed() const { return transferFailed_; }
  void clearTransferFailure() { transferFailed_ = false; }

  void pauseMs(unsigned milliseconds) { pauser_.pauseMs(milliseconds); }
  CommandPort& port() { return port_; }

 private:
  bool noted(bool done) {
    if (!done) transferFailed_ = true;
    return done;
  }

  CommandPort& port_;
  Pauser& pauser_;
  bool scrambling_ = false;
  ScrambleKey key_{};
  bool transferFailed_ = false;
};

}  // namespace ombrisk
