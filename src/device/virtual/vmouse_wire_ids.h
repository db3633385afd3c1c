/* The numbers of the vmouse wire, in a form that C reads too: the virtual HID device (a
 * Windows driver written in C, tools/virtual_hid) speaks the same wire as the C++ client
 * and server (virtual_mouse_wire.h gives the messages their meaning). Each message is a type
 * byte, a 32-bit little-endian payload length and the payload. */
#ifndef OMBRISK_VMOUSE_WIRE_IDS_H
#define OMBRISK_VMOUSE_WIRE_IDS_H

enum VmouseMessageId {
  kVmEnumerate = 1,
  kVmInterfaces = 2,
  kVmOpen = 3,
  kVmResult = 4,
  kVmSetFeature = 5,
  kVmGetFeature = 6,
  kVmWriteOutput = 7,
  kVmReadInput = 8,
  kVmReport = 9,
  kVmWatch = 10,
  kVmPresence = 11,
  kVmPlug = 12,
  kVmUnplug = 13,
  kVmEvent = 14,
  kVmDump = 15,
  kVmText = 16,
  kVmFlushInput = 17,
  kVmDescribe = 18,
  kVmStreamInput = 19
};

enum VmouseWireFacts {
  /* type byte + payload length */
  kVmHeaderBytes = 5,
  /* per interface of an Interfaces payload: vendor, product, usage page, usage, input,
   * output and feature length (16-bit little-endian each), then the path's length byte */
  kVmInterfaceFixedBytes = 15,
  /* vmouse repeats the presence to each watcher this often, so that a watcher can tell a
   * vmouse that is gone from a quiet one even when the connection is not seen to close (a
   * process that is killed or hung can leave its sockets open) */
  kVmPresenceRepeatMs = 1000,
  /* a watcher that hears nothing for this long takes vmouse for gone */
  kVmPresenceSilenceMs = 4000
};

#endif
