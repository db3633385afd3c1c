/* The bus driver's side of vmouse: the loopback connections that make vmouse's mouse the
 * bus's devices. It follows what vmouse presents (its interfaces and their report
 * descriptors, the mouse plugged in or not, vmouse itself there or not) and carries the
 * reports of the devices the system has opened. The driver runs inside an ordinary Wine
 * process (winedevice.exe), so this part uses Winsock and threads of the user-mode API; its
 * interface holds no system types, so that the kernel-side code (bus.c) includes it beside
 * the driver headers. */
#ifndef OMBRISK_VMOUSE_LINK_H
#define OMBRISK_VMOUSE_LINK_H

#include <stddef.h>
#include <stdint.h>

enum {
  kLinkPathMax = 256,
  kLinkDescriptorMax = 512,
  kLinkInterfacesMax = 8,
  kLinkReportMax = 64
};

/* One interface vmouse presents. */
struct LinkInterface {
  char path[kLinkPathMax]; /* vmouse's name of it; the system's name for it follows it */
  uint16_t vendorId, productId, usagePage, usage;
  uint16_t inputLength, outputLength, featureLength; /* id byte included */
  uint8_t descriptor[kLinkDescriptorMax];
  size_t descriptorLength;
};

/* What vmouse presents now; no interfaces while vmouse cannot be reached. Called on the
 * link's thread, once at each change. */
typedef void (*LinkPresenceCallback)(void *context, const struct LinkInterface *interfaces,
                                     size_t count);

struct VmouseLink;
/* Follows the vmouse whose port the DWORD value "Port" of the registry key parametersKey
 * (under HKEY_LOCAL_MACHINE) names; a change of the value moves to the new port. */
struct VmouseLink *linkStart(const wchar_t *parametersKey, LinkPresenceCallback onPresence,
                             void *context);
void linkStop(struct VmouseLink *link);

/* An input report as the device sent it, its report id first (0 when the device's
 * reports carry none). Called on the channel's thread. */
typedef void (*LinkReportCallback)(void *context, const uint8_t *report, size_t length);

enum LinkChannelKind {
  kLinkCommandChannel, /* requests, and the input reports that answer them */
  kLinkEventChannel    /* the input reports the device sends of its own accord */
};

enum LinkRequestKind { kLinkSetFeature, kLinkGetFeature, kLinkWriteOutput };

/* One request to a device, its report id first. Once the channel has taken it, done is
 * called exactly once. */
struct LinkRequest {
  enum LinkRequestKind kind;
  uint8_t report[kLinkReportMax]; /* GetFeature: filled with the answer */
  size_t length;
  void (*done)(struct LinkRequest *request, int succeeded);
  void *context;
  struct LinkRequest *next; /* the channel's queue */
};

struct LinkChannel;
/* Opens an interface vmouse presents. Never null; a channel that vmouse refused (the mouse
 * was pulled out meanwhile) fails each request and brings no reports. */
struct LinkChannel *channelOpen(struct VmouseLink *link, const char *path,
                                enum LinkChannelKind kind, LinkReportCallback onReport,
                                void *context);
/* Carries a request out: on the caller's thread when nothing else is under way and the
 * reply comes at once (done is then called before it returns), else on the channel's. 0 when
 * the channel takes no more requests (it is closing): the request stays the caller's. The
 * caller holds the channel between channelEnter and channelLeave, which it calls while it
 * knows the channel open; channelClose waits for it to leave. */
int channelSubmit(struct LinkChannel *channel, struct LinkRequest *request);
void channelEnter(struct LinkChannel *channel);
void channelLeave(struct LinkChannel *channel);
/* Ends the channel: queued requests fail, and no callback comes after it returns. */
void channelClose(struct LinkChannel *channel);

#endif
