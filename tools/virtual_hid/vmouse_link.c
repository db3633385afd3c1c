/* The bus driver's loopback connections to vmouse (vmouse_link.h). Every wait is bounded and
 * every loop looks at its stop flag at least every kSliceMs, so that stopping never hangs:
 * a vmouse that stops answering costs one reply bound, after which its channel fails at
 * once, as a handle on a removed device does. */
#include "vmouse_link.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <string.h>

#include "device/virtual/vmouse_wire_ids.h"
#include "link_services.h"

enum {
  kSliceMs = 200,
  kConnectMs = 1000,
  kReplyMs = 1000,        /* beyond which vmouse counts as gone for the request */
  kTransferReplyMs = 5000, /* a device's report transfer: the bound of a USB control transfer */
  kInlineReplyMs = 20,     /* how long the submitting thread waits for a reply itself */
  kRetryMs = 250,         /* between attempts to reach a vmouse that is not there */
  kLongestPayload = 65536 /* nothing of the mouse's is longer; more ends the connection */
};

struct Message {
  uint8_t type;
  uint32_t length;
  uint8_t payload[kLongestPayload];
};

/* ---- sockets ---- */

static int readPort(const wchar_t *key) {
  uint32_t port = serviceReadDword(key, L"Port");
  return port <= 65535 ? (int)port : 0;
}

static SOCKET connectPort(int port) {
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) return s;
  struct sockaddr_in address;
  memset(&address, 0, sizeof address);
  address.sin_family = AF_INET;
  address.sin_port = htons((u_short)port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  int connected = connect(s, (struct sockaddr *)&address, sizeof address) == 0;
  if (!connected && WSAGetLastError() == WSAEWOULDBLOCK) {
    fd_set writable, failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(s, &writable);
    FD_SET(s, &failed);
    struct timeval wait = {kConnectMs / 1000, (kConnectMs % 1000) * 1000};
    connected = select(0, NULL, &writable, &failed, &wait) == 1 && FD_ISSET(s, &writable);
  }
  nonBlocking = 0;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  if (!connected) {
    closesocket(s);
    return INVALID_SOCKET;
  }
  BOOL noDelay = TRUE;
  setsockopt(s, IPPROTO_TCP, TCP_NODELAY, (const char *)&noDelay, sizeof noDelay);
  return s;
}

/* 1 when s has something to read (or has ended) within milliseconds. */
static int readable(SOCKET s, int milliseconds) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  struct timeval wait = {milliseconds / 1000, (milliseconds % 1000) * 1000};
  return select(0, &set, NULL, NULL, &wait) == 1;
}

/* One connection to vmouse and what has come on it and not been taken yet. Each call into
 * Winsock is a round trip to Wine's server, so a message goes out in one send and a reply
 * usually comes in with one recv. */
struct Connection {
  SOCKET s;
  size_t start, end; /* the bytes come and not taken */
  uint8_t bytes[4096];
};

static void connectionInit(struct Connection *c, SOCKET s) {
  c->s = s;
  c->start = c->end = 0;
}

static int connected(const struct Connection *c) { return c->s != INVALID_SOCKET; }

static void connectionClose(struct Connection *c) {
  if (c->s != INVALID_SOCKET) closesocket(c->s);
  c->s = INVALID_SOCKET;
}

static int sendAll(SOCKET s, const uint8_t *bytes, size_t length) {
  while (length) {
    int sent = send(s, (const char *)bytes, (int)length, 0);
    if (sent <= 0) return 0;
    bytes += sent;
    length -= (size_t)sent;
  }
  return 1;
}

static int sendMessage(struct Connection *c, uint8_t type, const uint8_t *payload, size_t length) {
  uint8_t message[kVmHeaderBytes + kLinkReportMax + 8] = {type, (uint8_t)length, (uint8_t)(length >> 8),
                                                          (uint8_t)(length >> 16), (uint8_t)(length >> 24)};
  if (length <= sizeof message - kVmHeaderBytes) {
    if (length) memcpy(message + kVmHeaderBytes, payload, length);
    return sendAll(c->s, message, kVmHeaderBytes + length);
  }
  return sendAll(c->s, message, kVmHeaderBytes) && sendAll(c->s, payload, length);
}

/* Waits up to milliseconds for more bytes; 1 when some came, 0 when none did, -1 when the
 * connection ended. */
static int receiveSome(struct Connection *c, int milliseconds) {
  if (c->start == c->end) c->start = c->end = 0;
  if (c->end == sizeof c->bytes) {
    memmove(c->bytes, c->bytes + c->start, c->end - c->start);
    c->end -= c->start;
    c->start = 0;
  }
  if (!readable(c->s, milliseconds)) return 0;
  int got = recv(c->s, (char *)c->bytes + c->end, (int)(sizeof c->bytes - c->end), 0);
  if (got <= 0) return -1;
  c->end += (size_t)got;
  return 1;
}

/* Fills bytes exactly, the whole of it within milliseconds. */
static int receiveAll(struct Connection *c, uint8_t *bytes, size_t length, int milliseconds) {
  uint64_t deadline = serviceMilliseconds() + (uint64_t)milliseconds;
  while (length) {
    size_t here = c->end - c->start;
    if (here) {
      size_t n = here < length ? here : length;
      memcpy(bytes, c->bytes + c->start, n);
      c->start += n;
      bytes += n;
      length -= n;
      continue;
    }
    int left = (int)((int64_t)deadline - (int64_t)serviceMilliseconds());
    if (left < 0 || receiveSome(c, left) <= 0) return 0;
  }
  return 1;
}

enum Received { kReceived, kNothingYet, kEnded };

/* The next message if its first byte comes within milliseconds; the rest must follow at
 * once. */
static enum Received receiveMessage(struct Connection *c, struct Message *message, int milliseconds) {
  if (c->start == c->end) {
    int some = receiveSome(c, milliseconds);
    if (some == 0) return kNothingYet;
    if (some < 0) return kEnded;
  }
  uint8_t header[kVmHeaderBytes];
  if (!receiveAll(c, header, sizeof header, kReplyMs)) return kEnded;
  message->type = header[0];
  message->length = header[1] | (header[2] << 8) | (header[3] << 16) | ((uint32_t)header[4] << 24);
  if (message->length > kLongestPayload) return kEnded;
  return receiveAll(c, message->payload, message->length, kReplyMs) ? kReceived : kEnded;
}

/* A request and its reply over a connection of its own. */
static int ask(int port, uint8_t type, const uint8_t *payload, size_t length, struct Message *reply) {
  struct Connection c;
  connectionInit(&c, connectPort(port));
  if (!connected(&c)) return 0;
  int answered = sendMessage(&c, type, payload, length) && receiveMessage(&c, reply, kReplyMs) == kReceived;
  connectionClose(&c);
  return answered;
}

/* Opens path on a new connection: the connection is then the interface's handle. */
static void openInterface(struct Connection *c, int port, const char *path, struct Message *scratch) {
  connectionInit(c, connectPort(port));
  if (!connected(c)) return;
  if (!sendMessage(c, kVmOpen, (const uint8_t *)path, strlen(path)) ||
      receiveMessage(c, scratch, kReplyMs) != kReceived || scratch->type != kVmResult ||
      scratch->length != 1 || scratch->payload[0] != 1)
    connectionClose(c);
}

static uint16_t u16At(const uint8_t *bytes) { return (uint16_t)(bytes[0] | (bytes[1] << 8)); }

/* ---- the link: what vmouse presents ---- */

struct VmouseLink {
  wchar_t key[256];
  LinkPresenceCallback onPresence;
  void *context;
  volatile long stopping;
  volatile long port; /* the port of the vmouse followed now; 0 while there is none */
  struct ServiceEvent *stopEvent;
  struct ServiceThread *thread;
  struct Message message;
  struct Connection watch;
  struct LinkInterface interfaces[kLinkInterfacesMax];
  size_t count;
  int told; /* something has been told and not yet withdrawn */
};

/* The interfaces vmouse presents now, with their report descriptors; -1 when vmouse cannot
 * tell them whole. */
static int enumerate(struct VmouseLink *link, int port, struct LinkInterface *interfaces) {
  struct Message *m = &link->message;
  if (!ask(port, kVmEnumerate, NULL, 0, m) || m->type != kVmInterfaces || m->length < 1) return -1;
  size_t count = m->payload[0], at = 1;
  if (count > kLinkInterfacesMax) return -1;
  for (size_t n = 0; n < count; ++n) {
    struct LinkInterface *i = &interfaces[n];
    if (m->length < at + kVmInterfaceFixedBytes) return -1;
    const uint8_t *p = m->payload + at;
    i->vendorId = u16At(p);
    i->productId = u16At(p + 2);
    i->usagePage = u16At(p + 4);
    i->usage = u16At(p + 6);
    i->inputLength = u16At(p + 8);
    i->outputLength = u16At(p + 10);
    i->featureLength = u16At(p + 12);
    size_t pathLength = p[14];
    at += kVmInterfaceFixedBytes;
    if (m->length < at + pathLength || pathLength >= kLinkPathMax) return -1;
    memcpy(i->path, m->payload + at, pathLength);
    i->path[pathLength] = 0;
    at += pathLength;
  }
  for (size_t n = 0; n < count; ++n) {
    struct LinkInterface *i = &interfaces[n];
    if (!ask(port, kVmDescribe, (const uint8_t *)i->path, strlen(i->path), m) || m->type != kVmReport ||
        m->length == 0 || m->length > kLinkDescriptorMax)
      return -1;
    memcpy(i->descriptor, m->payload, m->length);
    i->descriptorLength = m->length;
  }
  return (int)count;
}

static void tell(struct VmouseLink *link, size_t count) {
  link->count = count;
  link->told = count > 0;
  link->onPresence(link->context, link->interfaces, count);
}

static void withdraw(struct VmouseLink *link) {
  if (link->told) tell(link, 0);
}

/* Watches vmouse's presence on one connection until vmouse goes, falls silent, or the port
 * changes; each plug or unplug re-reads what it presents. */
static void follow(struct VmouseLink *link, int port) {
  struct Connection *c = &link->watch;
  connectionInit(c, connectPort(port));
  if (!connected(c)) return;
  struct Message *m = &link->message;
  int plugged = -1;
  uint64_t heard = serviceMilliseconds();
  if (sendMessage(c, kVmWatch, NULL, 0)) {
    while (!link->stopping) {
      enum Received r = receiveMessage(c, m, kSliceMs);
      if (r == kEnded) break;
      if (r == kNothingYet) {
        if (serviceMilliseconds() - heard > kVmPresenceSilenceMs || readPort(link->key) != port) break;
        continue;
      }
      heard = serviceMilliseconds();
      if (m->type != kVmPresence || m->length != 1) continue;
      if (readPort(link->key) != port) break;
      if (m->payload[0] == plugged) continue; /* vmouse repeating itself */
      plugged = m->payload[0];
      int count = enumerate(link, port, link->interfaces);
      if (count < 0) break;
      tell(link, (size_t)count);
    }
  }
  connectionClose(c);
}

static void linkMain(void *argument) {
  struct VmouseLink *link = argument;
  while (!__atomic_load_n(&link->stopping, __ATOMIC_SEQ_CST)) {
    int port = readPort(link->key);
    __atomic_store_n(&link->port, port, __ATOMIC_SEQ_CST);
    if (port) follow(link, port);
    withdraw(link);
    __atomic_store_n(&link->port, 0, __ATOMIC_SEQ_CST);
    if (!link->stopping) serviceWaitEvent(link->stopEvent, kRetryMs);
  }
}

struct VmouseLink *linkStart(const wchar_t *parametersKey, LinkPresenceCallback onPresence,
                             void *context) {
  WSADATA data;
  if (WSAStartup(MAKEWORD(2, 2), &data)) return NULL;
  struct VmouseLink *link = serviceAlloc(sizeof *link);
  if (!link) return NULL;
  size_t n = 0;
  for (; parametersKey[n] && n + 1 < sizeof link->key / sizeof link->key[0]; ++n) link->key[n] = parametersKey[n];
  link->key[n] = 0;
  link->onPresence = onPresence;
  link->context = context;
  link->stopEvent = serviceCreateEvent(1);
  link->thread = link->stopEvent ? serviceStartThread(linkMain, link) : NULL;
  if (!link->thread) {
    if (link->stopEvent) serviceDestroyEvent(link->stopEvent);
    serviceFree(link);
    return NULL;
  }
  return link;
}

void linkStop(struct VmouseLink *link) {
  if (!link) return;
  __atomic_store_n(&link->stopping, 1, __ATOMIC_SEQ_CST);
  serviceSetEvent(link->stopEvent);
  serviceJoinThread(link->thread);
  serviceDestroyEvent(link->stopEvent);
  serviceFree(link);
  WSACleanup();
}

/* ---- channels: an open interface ---- */

struct LinkChannel {
  struct Connection requests; /* command channel: the handle that takes the requests */
  struct Connection reports;  /* the connection that brings the input reports */
  LinkReportCallback onReport;
  void *context;
  volatile long stopping;
  int broken; /* a request failed; every later one fails at once */
  struct ServiceLock *lock; /* guards the queue, busy and awaiting */
  struct LinkRequest *first, *last;
  int busy;                          /* a request is under way */
  struct LinkRequest *awaiting;      /* under way, its reply left to the worker */
  volatile long submitters;          /* inside channelSubmit (channelEnter) */
  struct ServiceEvent *queued; /* auto-reset: a request was queued, or the channel stops */
  struct ServiceThread *worker, *reader;
  struct Message requestMessage, reportMessage;
};

/* Sends a request; 0 when it could not be sent. */
static int sendRequest(struct LinkChannel *c, struct LinkRequest *r) {
  if (c->broken || !connected(&c->requests)) return 0;
  if (r->kind == kLinkGetFeature) {
    const uint8_t length[2] = {(uint8_t)r->length, (uint8_t)(r->length >> 8)};
    return sendMessage(&c->requests, kVmGetFeature, length, sizeof length);
  }
  uint8_t type = r->kind == kLinkSetFeature ? kVmSetFeature : kVmWriteOutput;
  return sendMessage(&c->requests, type, r->report, r->length);
}

enum Reply { kAnswered, kRefused, kNotYet };

/* Waits up to milliseconds for the reply to the request sent last. */
static enum Reply awaitReply(struct LinkChannel *c, struct LinkRequest *r, int milliseconds) {
  struct Message *m = &c->requestMessage;
  enum Received got = receiveMessage(&c->requests, m, milliseconds);
  if (got == kNothingYet) return kNotYet;
  if (got == kEnded) return kRefused;
  if (r->kind == kLinkGetFeature) {
    if (m->type != kVmReport || !m->length) return kRefused;
    size_t n = m->length < r->length ? m->length : r->length;
    memset(r->report, 0, r->length);
    memcpy(r->report, m->payload, n);
    return kAnswered;
  }
  return m->type == kVmResult && m->length == 1 && m->payload[0] == 1 ? kAnswered : kRefused;
}

/* Ends a request: a channel whose request failed fails every later one at once. */
static void finish(struct LinkChannel *c, struct LinkRequest *r, int succeeded) {
  if (!succeeded) c->broken = 1;
  serviceLock(c->lock);
  c->busy = 0;
  int more = c->first != NULL;
  serviceUnlock(c->lock);
  r->done(r, succeeded);
  if (more) serviceSetEvent(c->queued);
}

/* The next request for the worker: one whose reply the submitter stopped waiting for, or
 * the first queued while no request is under way. */
static struct LinkRequest *nextRequest(struct LinkChannel *c, int *awaiting) {
  serviceLock(c->lock);
  struct LinkRequest *r = c->awaiting;
  *awaiting = r != NULL;
  if (r) {
    c->awaiting = NULL;
  } else if (!c->busy && (r = c->first)) {
    c->first = r->next;
    if (!c->first) c->last = NULL;
    c->busy = 1;
  }
  serviceUnlock(c->lock);
  return r;
}

static void workerMain(void *argument) {
  struct LinkChannel *c = argument;
  for (;;) {
    int awaiting = 0;
    struct LinkRequest *r = nextRequest(c, &awaiting);
    if (r) {
      int sent = awaiting || (!c->stopping && sendRequest(c, r));
      enum Reply reply = sent ? awaitReply(c, r, kTransferReplyMs) : kRefused;
      finish(c, r, reply == kAnswered);
      continue;
    }
    if (c->stopping) return;
    serviceWaitEvent(c->queued, -1);
  }
}

static void readerMain(void *argument) {
  struct LinkChannel *c = argument;
  struct Message *m = &c->reportMessage;
  while (!c->stopping) {
    enum Received r = receiveMessage(&c->reports, m, kSliceMs);
    if (r == kEnded) return; /* the device is gone: its reports end */
    if (r == kReceived && m->type == kVmReport && m->length) c->onReport(c->context, m->payload, m->length);
  }
}

struct LinkChannel *channelOpen(struct VmouseLink *link, const char *path,
                                enum LinkChannelKind kind, LinkReportCallback onReport,
                                void *context) {
  struct LinkChannel *c = serviceAlloc(sizeof *c);
  if (!c) return NULL;
  connectionInit(&c->requests, INVALID_SOCKET);
  connectionInit(&c->reports, INVALID_SOCKET);
  c->onReport = onReport;
  c->context = context;
  c->lock = serviceCreateLock();
  c->queued = serviceCreateEvent(0);
  if (!c->lock || !c->queued) {
    if (c->lock) serviceDestroyLock(c->lock);
    if (c->queued) serviceDestroyEvent(c->queued);
    serviceFree(c);
    return NULL;
  }
  int port = link ? link->port : 0;
  struct Message *m = &c->requestMessage;
  if (port && kind == kLinkCommandChannel) {
    openInterface(&c->requests, port, path, m);
    if (connected(&c->requests)) openInterface(&c->reports, port, path, m);
    if (connected(&c->reports) &&
        (!sendMessage(&c->reports, kVmStreamInput, NULL, 0) || receiveMessage(&c->reports, m, kReplyMs) != kReceived ||
         m->type != kVmResult || m->length != 1 || m->payload[0] != 1))
      connectionClose(&c->reports);
  } else if (port) {
    openInterface(&c->reports, port, path, m);
  }
  c->worker = serviceStartThread(workerMain, c);
  if (connected(&c->reports)) c->reader = serviceStartThread(readerMain, c);
  return c;
}

void channelEnter(struct LinkChannel *channel) {
  if (channel) __atomic_add_fetch(&channel->submitters, 1, __ATOMIC_SEQ_CST);
}

void channelLeave(struct LinkChannel *channel) {
  if (channel) __atomic_sub_fetch(&channel->submitters, 1, __ATOMIC_SEQ_CST);
}

int channelSubmit(struct LinkChannel *c, struct LinkRequest *request) {
  if (!c || !c->worker || c->stopping) return 0;
  request->next = NULL;
  serviceLock(c->lock);
  const int now = !c->busy && !c->first && !c->awaiting;
  if (now) {
    c->busy = 1;
  } else {
    if (c->last) c->last->next = request;
    else c->first = request;
    c->last = request;
  }
  serviceUnlock(c->lock);
  if (!now) {
    serviceSetEvent(c->queued);
    return 1;
  }
  /* Nothing under way: the request goes out on the caller's thread, and a reply that comes
   * at once ends it there, which spares the system a hand-over to another thread and back.
   * A reply that takes longer is awaited on the channel's thread, so that the caller (the
   * system's dispatch of every device's requests) is not held up. */
  if (!sendRequest(c, request)) {
    finish(c, request, 0);
    return 1;
  }
  enum Reply reply = awaitReply(c, request, kInlineReplyMs);
  if (reply != kNotYet) {
    finish(c, request, reply == kAnswered);
    return 1;
  }
  serviceLock(c->lock);
  c->awaiting = request;
  serviceUnlock(c->lock);
  serviceSetEvent(c->queued);
  return 1;
}

void channelClose(struct LinkChannel *c) {
  if (!c) return;
  __atomic_store_n(&c->stopping, 1, __ATOMIC_SEQ_CST);
  /* A request under way ends within its reply bound; closing its socket ends it sooner. */
  if (connected(&c->requests)) shutdown(c->requests.s, SD_BOTH);
  while (__atomic_load_n(&c->submitters, __ATOMIC_SEQ_CST)) serviceWaitEvent(c->queued, 1);
  serviceSetEvent(c->queued);
  serviceJoinThread(c->worker);
  serviceJoinThread(c->reader);
  if (c->awaiting) c->awaiting->done(c->awaiting, 0);  /* handed over as the worker ended */
  for (struct LinkRequest *r; (r = c->first);) {
    c->first = r->next;
    r->done(r, 0);
  }
  connectionClose(&c->requests);
  connectionClose(&c->reports);
  serviceDestroyEvent(c->queued);
  serviceDestroyLock(c->lock);
  serviceFree(c);
}
