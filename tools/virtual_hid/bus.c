/* ombrisk_vbus.sys: a bus whose devices are the HID interfaces vmouse presents, so that the
 * system's HID class driver serves the virtual mouse as it serves a USB one.
 *
 * The bus sits on a root-enumerated device. Its function device (the "bus") follows vmouse
 * through vmouse_link and reports one child device per interface vmouse presents; the
 * plug-and-play manager loads the HID minidriver (minidriver.c) and the class driver on
 * each child, and they send the child their requests: descriptors and attributes from
 * vmouse's interface record and report descriptor, feature and output reports carried to
 * vmouse by the child's channel, and input reads answered by the reports vmouse pushes.
 * When vmouse's mouse is pulled out (or vmouse goes), the children it no longer presents
 * leave the bus, so that the system removes their devices and tells the programs. */
#include <ntddk.h>

#include "hid_minidriver.h"
#include "vmouse_link.h"

#define PARAMETERS_KEY L"System\\CurrentControlSet\\Services\\ombrisk_vbus\\Parameters"
#define BUS_ID L"OMBRISKVHID"
#define ANY_DEVICE_ID BUS_ID L"\\DEVICE" /* the id the minidriver's installation matches */

enum {
  kChildrenMax = kLinkInterfacesMax,
  kQueuedReportsMax = 32, /* input reports kept while the class driver has no read under way */
  kIdMax = 128
};

/* The first member of both kinds of device extension. */
struct DeviceKind {
  BOOLEAN isChild;
};

struct Bus {
  struct DeviceKind kind;
  PDEVICE_OBJECT self, rootDevice, lower;
  KSPIN_LOCK lock; /* guards children, count and latest */
  PDEVICE_OBJECT children[kChildrenMax]; /* every child object that exists */
  ULONG count;
  struct LinkInterface latest[kLinkInterfacesMax]; /* what vmouse presents now */
  size_t latestCount;
  struct VmouseLink *link;
};

struct QueuedReport {
  uint8_t bytes[kLinkReportMax];
  size_t length;
};

struct Child {
  struct DeviceKind kind;
  PDEVICE_OBJECT self;
  struct Bus *bus;
  struct LinkInterface info;
  WCHAR deviceId[kIdMax];
  WCHAR instanceId[kIdMax];
  BOOLEAN reportIds; /* the reports carry an id byte (the descriptor names report ids) */
  BOOLEAN listed;    /* vmouse still presents it: the bus reports it */
  BOOLEAN removed;   /* surprise-removed or removed: it takes no more requests */
  KSPIN_LOCK lock;   /* guards the fields below, and removed */
  struct LinkChannel *channel;
  LIST_ENTRY reads; /* the class driver's reads under way */
  struct QueuedReport queue[kQueuedReportsMax];
  ULONG queueFirst, queueCount;
};

static PDRIVER_OBJECT busDriver;

/* ---- small helpers ---- */

static NTSTATUS complete(PIRP irp, NTSTATUS status, ULONG_PTR information) {
  irp->IoStatus.Status = status;
  irp->IoStatus.Information = information;
  IoCompleteRequest(irp, IO_NO_INCREMENT);
  return status;
}

static void copyWide(WCHAR *to, size_t capacity, const char *from, size_t length) {
  size_t n = 0;
  for (; n < length && n + 1 < capacity; ++n) to[n] = (WCHAR)(unsigned char)from[n];
  to[n] = 0;
}

static size_t wideLength(const WCHAR *text) {
  size_t n = 0;
  while (text[n]) ++n;
  return n;
}

/* A string list (each string ends with a 0, the list with another) of the given strings,
 * from the pool, as the plug-and-play manager takes ids. */
static WCHAR *idList(const WCHAR *first, const WCHAR *second) {
  size_t a = wideLength(first) + 1, b = second ? wideLength(second) + 1 : 0;
  WCHAR *list = ExAllocatePool(PagedPool, (a + b + 1) * sizeof(WCHAR));
  if (!list) return NULL;
  RtlCopyMemory(list, first, a * sizeof(WCHAR));
  if (second) RtlCopyMemory(list + a, second, b * sizeof(WCHAR));
  list[a + b] = 0;
  return list;
}

/* The system names a HID interface \\?\HID#<device>#<instance>#{class}; vmouse names its
 * interfaces the same way, and the child takes the two parts from its name, so that the
 * system's name for the interface is vmouse's. */
static void nameChild(struct Child *child, ULONG position) {
  static const char kPrefix[] = "\\\\?\\HID#";
  const char *path = child->info.path;
  const char *device = NULL, *instance = NULL, *end = NULL;
  size_t prefix = sizeof kPrefix - 1, n = 0;
  while (n < prefix && path[n] && (path[n] == kPrefix[n] || (path[n] ^ 0x20) == kPrefix[n])) ++n;
  if (n == prefix) {
    device = path + prefix;
    for (const char *p = device; *p; ++p)
      if (*p == '#') {
        if (!instance) instance = p + 1;
        else if (!end) end = p;
      }
  }
  RtlCopyMemory(child->deviceId, BUS_ID L"\\", sizeof(BUS_ID L"\\"));
  size_t at = wideLength(child->deviceId);
  if (device && instance && end) {
    copyWide(child->deviceId + at, kIdMax - at, device, (size_t)(instance - 1 - device));
    copyWide(child->instanceId, kIdMax, instance, (size_t)(end - instance));
    return;
  }
  /* Not a name of the system's form: a name of the ids and the place on the bus. */
  static const WCHAR kDigits[] = L"0123456789ABCDEF";
  WCHAR *d = child->deviceId + at;
  const WCHAR *vid = L"VID_", *pid = L"&PID_";
  while (*vid) *d++ = *vid++;
  for (int shift = 12; shift >= 0; shift -= 4) *d++ = kDigits[(child->info.vendorId >> shift) & 15];
  while (*pid) *d++ = *pid++;
  for (int shift = 12; shift >= 0; shift -= 4) *d++ = kDigits[(child->info.productId >> shift) & 15];
  *d = 0;
  child->instanceId[0] = kDigits[position & 15];
  child->instanceId[1] = 0;
}

/* Whether a report descriptor names report ids (a Report ID item among its items). */
static BOOLEAN namesReportIds(const uint8_t *descriptor, size_t length) {
  for (size_t at = 0; at < length;) {
    uint8_t prefix = descriptor[at];
    if (prefix == 0xFE) { /* a long item: size, tag, data */
      if (at + 1 >= length) break;
      at += 3 + descriptor[at + 1];
      continue;
    }
    if ((prefix & 0xFC) == 0x84) return TRUE;
    size_t size = prefix & 3;
    at += 1 + (size == 3 ? 4 : size);
  }
  return FALSE;
}

static struct Child *childOf(PDEVICE_OBJECT device) { return device->DeviceExtension; }

/* ---- the children's input reports ---- */

static BOOLEAN takeRead(struct Child *child, PIRP *irp) {
  while (!IsListEmpty(&child->reads)) {
    PLIST_ENTRY entry = RemoveHeadList(&child->reads);
    PIRP candidate = CONTAINING_RECORD(entry, IRP, Tail.Overlay.ListEntry);
    if (IoSetCancelRoutine(candidate, NULL)) {
      *irp = candidate;
      return TRUE;
    }
    /* Its cancel routine runs already and completes it. */
    InitializeListHead(entry);
  }
  return FALSE;
}

/* Answers a read with a report: the class driver wants the id byte only when the reports
 * carry ids. */
static void answerRead(struct Child *child, PIRP irp, const uint8_t *report, size_t length) {
  ULONG capacity = IoGetCurrentIrpStackLocation(irp)->Parameters.DeviceIoControl.OutputBufferLength;
  if (!child->reportIds && length) {
    ++report;
    --length;
  }
  size_t n = length < capacity ? length : capacity;
  RtlCopyMemory(irp->UserBuffer, report, n);
  complete(irp, STATUS_SUCCESS, n);
}

static void onReport(void *context, const uint8_t *report, size_t length) {
  struct Child *child = context;
  KIRQL irql;
  PIRP irp = NULL;
  if (length > kLinkReportMax) length = kLinkReportMax;
  KeAcquireSpinLock(&child->lock, &irql);
  if (!takeRead(child, &irp)) {
    if (child->queueCount == kQueuedReportsMax) { /* the oldest goes, as in a full buffer */
      child->queueFirst = (child->queueFirst + 1) % kQueuedReportsMax;
      --child->queueCount;
    }
    struct QueuedReport *q = &child->queue[(child->queueFirst + child->queueCount++) % kQueuedReportsMax];
    RtlCopyMemory(q->bytes, report, length);
    q->length = length;
  }
  KeReleaseSpinLock(&child->lock, irql);
  if (irp) answerRead(child, irp, report, length);
}

static VOID NTAPI cancelRead(PDEVICE_OBJECT device, PIRP irp) {
  struct Child *child = childOf(device);
  KIRQL irql;
  IoReleaseCancelSpinLock(irp->CancelIrql);
  KeAcquireSpinLock(&child->lock, &irql);
  RemoveEntryList(&irp->Tail.Overlay.ListEntry);
  KeReleaseSpinLock(&child->lock, irql);
  complete(irp, STATUS_CANCELLED, 0);
}

static NTSTATUS startRead(struct Child *child, PIRP irp) {
  KIRQL irql;
  struct QueuedReport report;
  KeAcquireSpinLock(&child->lock, &irql);
  if (child->removed) {
    KeReleaseSpinLock(&child->lock, irql);
    return complete(irp, STATUS_DELETE_PENDING, 0);
  }
  if (child->queueCount) {
    report = child->queue[child->queueFirst];
    child->queueFirst = (child->queueFirst + 1) % kQueuedReportsMax;
    --child->queueCount;
    KeReleaseSpinLock(&child->lock, irql);
    answerRead(child, irp, report.bytes, report.length);
    return STATUS_SUCCESS;
  }
  IoMarkIrpPending(irp);
  InsertTailList(&child->reads, &irp->Tail.Overlay.ListEntry);
  IoSetCancelRoutine(irp, cancelRead);
  if (irp->Cancel && IoSetCancelRoutine(irp, NULL)) { /* cancelled before the routine was set */
    RemoveEntryList(&irp->Tail.Overlay.ListEntry);
    KeReleaseSpinLock(&child->lock, irql);
    complete(irp, STATUS_CANCELLED, 0);
    return STATUS_PENDING;
  }
  KeReleaseSpinLock(&child->lock, irql);
  return STATUS_PENDING;
}

/* Ends the child's traffic: no more requests, its channel closed (requests under way fail),
 * the reads under way end. */
static void stopChild(struct Child *child, NTSTATUS readStatus) {
  KIRQL irql;
  LIST_ENTRY reads;
  InitializeListHead(&reads);
  KeAcquireSpinLock(&child->lock, &irql);
  child->removed = TRUE;
  struct LinkChannel *channel = child->channel;
  child->channel = NULL;
  PIRP irp;
  while (takeRead(child, &irp)) InsertTailList(&reads, &irp->Tail.Overlay.ListEntry);
  child->queueCount = 0;
  KeReleaseSpinLock(&child->lock, irql);
  channelClose(channel);
  while (!IsListEmpty(&reads)) {
    irp = CONTAINING_RECORD(RemoveHeadList(&reads), IRP, Tail.Overlay.ListEntry);
    complete(irp, readStatus, 0);
  }
}

/* ---- the children's report transfers ---- */

struct Transfer {
  struct LinkRequest request; /* first: the request's done gets the transfer back */
  PIRP irp;
  struct Child *child;
};

static void transferDone(struct LinkRequest *request, int succeeded) {
  struct Transfer *t = (struct Transfer *)request;
  HID_XFER_PACKET *packet = t->irp->UserBuffer;
  ULONG_PTR bytes = 0;
  if (succeeded) {
    if (request->kind == kLinkGetFeature) {
      const uint8_t *answer = t->child->reportIds ? request->report : request->report + 1;
      bytes = t->child->reportIds ? request->length : request->length - 1;
      if (bytes > packet->reportBufferLen) bytes = packet->reportBufferLen;
      RtlCopyMemory(packet->reportBuffer, answer, bytes);
    } else {
      bytes = packet->reportBufferLen; /* what went out, as a USB minidriver tells it */
    }
  }
  complete(t->irp, succeeded ? STATUS_SUCCESS : STATUS_DEVICE_NOT_CONNECTED, bytes);
  ExFreePool(t);
}

static NTSTATUS startTransfer(struct Child *child, PIRP irp, enum LinkRequestKind kind) {
  HID_XFER_PACKET *packet = irp->UserBuffer;
  if (!packet || !packet->reportBuffer || !packet->reportBufferLen)
    return complete(irp, STATUS_INVALID_PARAMETER, 0);
  /* The report with its id byte first: the packet holds the id byte only when the reports
   * carry ids. */
  size_t length = packet->reportBufferLen + (child->reportIds ? 0 : 1);
  if (length > kLinkReportMax) return complete(irp, STATUS_INVALID_BUFFER_SIZE, 0);
  struct Transfer *t = ExAllocatePool(NonPagedPool, sizeof *t);
  if (!t) return complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
  RtlZeroMemory(t, sizeof *t);
  t->irp = irp;
  t->child = child;
  t->request.kind = kind;
  t->request.length = length;
  t->request.done = transferDone;
  t->request.report[0] = packet->reportId;
  if (kind != kLinkGetFeature) {
    uint8_t *to = child->reportIds ? t->request.report : t->request.report + 1;
    RtlCopyMemory(to, packet->reportBuffer, packet->reportBufferLen);
  }
  IoMarkIrpPending(irp);
  KIRQL irql;
  KeAcquireSpinLock(&child->lock, &irql);
  struct LinkChannel *channel = child->removed ? NULL : child->channel;
  channelEnter(channel);  /* held open past the lock: the transfer may run on this thread */
  KeReleaseSpinLock(&child->lock, irql);
  int taken = channel && channelSubmit(channel, &t->request);
  channelLeave(channel);
  if (!taken) {
    ExFreePool(t);
    complete(irp, STATUS_DEVICE_NOT_CONNECTED, 0);
  }
  return STATUS_PENDING;
}

static const WCHAR *stringOf(ULONG id) {
  switch (id & 0xFFFF) {
    case 1: return L"Ombrisk test equipment";       /* manufacturer */
    case 2: return L"Virtual gaming mouse (vmouse)"; /* product */
    default: return NULL;
  }
}

static NTSTATUS childRequest(PDEVICE_OBJECT device, PIRP irp) {
  struct Child *child = childOf(device);
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  ULONG out = stack->Parameters.DeviceIoControl.OutputBufferLength;
  switch (stack->Parameters.DeviceIoControl.IoControlCode) {
    case IOCTL_HID_GET_DEVICE_DESCRIPTOR: {
      HID_DESCRIPTOR *descriptor = irp->UserBuffer;
      if (out < sizeof *descriptor) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
      RtlZeroMemory(descriptor, sizeof *descriptor);
      descriptor->bLength = sizeof *descriptor;
      descriptor->bDescriptorType = HID_HID_DESCRIPTOR_TYPE;
      descriptor->bcdHID = 0x0111;
      descriptor->bNumDescriptors = 1;
      descriptor->DescriptorList[0].bReportType = HID_REPORT_DESCRIPTOR_TYPE;
      descriptor->DescriptorList[0].wReportLength = (USHORT)child->info.descriptorLength;
      return complete(irp, STATUS_SUCCESS, sizeof *descriptor);
    }
    case IOCTL_HID_GET_REPORT_DESCRIPTOR:
      if (out < child->info.descriptorLength) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
      RtlCopyMemory(irp->UserBuffer, child->info.descriptor, child->info.descriptorLength);
      return complete(irp, STATUS_SUCCESS, child->info.descriptorLength);
    case IOCTL_HID_GET_DEVICE_ATTRIBUTES: {
      HID_DEVICE_ATTRIBUTES *attributes = irp->UserBuffer;
      if (out < sizeof *attributes) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
      RtlZeroMemory(attributes, sizeof *attributes);
      attributes->Size = sizeof *attributes;
      attributes->VendorID = child->info.vendorId;
      attributes->ProductID = child->info.productId;
      attributes->VersionNumber = 0x0100;
      return complete(irp, STATUS_SUCCESS, sizeof *attributes);
    }
    case IOCTL_HID_GET_STRING: {
      const WCHAR *text = stringOf((ULONG)(ULONG_PTR)stack->Parameters.DeviceIoControl.Type3InputBuffer);
      if (!text) return complete(irp, STATUS_NOT_SUPPORTED, 0);
      ULONG bytes = (ULONG)((wideLength(text) + 1) * sizeof(WCHAR));
      if (out < bytes) return complete(irp, STATUS_BUFFER_TOO_SMALL, 0);
      RtlCopyMemory(irp->UserBuffer, text, bytes);
      return complete(irp, STATUS_SUCCESS, bytes);
    }
    case IOCTL_HID_READ_REPORT:
      return startRead(child, irp);
    case IOCTL_HID_GET_FEATURE:
      return startTransfer(child, irp, kLinkGetFeature);
    case IOCTL_HID_SET_FEATURE:
      return startTransfer(child, irp, kLinkSetFeature);
    case IOCTL_HID_WRITE_REPORT:
    case IOCTL_HID_SET_OUTPUT_REPORT:
      return startTransfer(child, irp, kLinkWriteOutput);
    case IOCTL_HID_ACTIVATE_DEVICE:
    case IOCTL_HID_DEACTIVATE_DEVICE:
      return complete(irp, STATUS_SUCCESS, 0);
    default:
      return complete(irp, STATUS_NOT_SUPPORTED, 0);
  }
}

/* ---- the children's plug and play ---- */

static PDEVICE_RELATIONS relationsOf(PDEVICE_OBJECT *devices, ULONG count) {
  PDEVICE_RELATIONS relations =
      ExAllocatePool(PagedPool, sizeof(DEVICE_RELATIONS) + count * sizeof(PDEVICE_OBJECT));
  if (!relations) return NULL;
  relations->Count = count;
  for (ULONG i = 0; i < count; ++i) {
    ObReferenceObject(devices[i]);
    relations->Objects[i] = devices[i];
  }
  return relations;
}

static void reconcile(struct Bus *bus);

/* Takes a child that has left the bus off the bus's list and deletes it. */
static void deleteChild(struct Child *child) {
  struct Bus *bus = child->bus;
  KIRQL irql;
  KeAcquireSpinLock(&bus->lock, &irql);
  for (ULONG i = 0; i < bus->count; ++i)
    if (bus->children[i] == child->self) {
      bus->children[i] = bus->children[--bus->count];
      break;
    }
  KeReleaseSpinLock(&bus->lock, irql);
  IoDeleteDevice(child->self);
}

static NTSTATUS childPnp(PDEVICE_OBJECT device, PIRP irp) {
  struct Child *child = childOf(device);
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  KIRQL irql;
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE: {
      const struct LinkInterface *i = &child->info;
      enum LinkChannelKind kind =
          i->featureLength || i->outputLength ? kLinkCommandChannel : kLinkEventChannel;
      struct LinkChannel *channel = channelOpen(child->bus->link, i->path, kind, onReport, child);
      KeAcquireSpinLock(&child->lock, &irql);
      struct LinkChannel *old = child->channel;
      child->channel = channel;
      child->removed = FALSE;
      KeReleaseSpinLock(&child->lock, irql);
      channelClose(old);
      return complete(irp, channel ? STATUS_SUCCESS : STATUS_INSUFFICIENT_RESOURCES, 0);
    }
    case IRP_MN_SURPRISE_REMOVAL:
      stopChild(child, STATUS_DEVICE_NOT_CONNECTED);
      return complete(irp, STATUS_SUCCESS, 0);
    case IRP_MN_REMOVE_DEVICE: {
      stopChild(child, STATUS_DEVICE_NOT_CONNECTED);
      KeAcquireSpinLock(&child->bus->lock, &irql);
      BOOLEAN gone = !child->listed;
      KeReleaseSpinLock(&child->bus->lock, irql);
      struct Bus *bus = child->bus;
      complete(irp, STATUS_SUCCESS, 0);
      /* A child the bus still reports stays until the bus goes. */
      if (gone) {
        deleteChild(child);
        reconcile(bus); /* an interface of the same name may wait for this one to go */
      }
      return STATUS_SUCCESS;
    }
    case IRP_MN_QUERY_ID: {
      const WCHAR *first = NULL, *second = NULL;
      switch (stack->Parameters.QueryId.IdType) {
        case BusQueryDeviceID: first = child->deviceId; break;
        case BusQueryHardwareIDs: first = child->deviceId; second = ANY_DEVICE_ID; break;
        case BusQueryCompatibleIDs: first = ANY_DEVICE_ID; break;
        case BusQueryInstanceID: first = child->instanceId; break;
        default: return complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
      }
      WCHAR *ids = stack->Parameters.QueryId.IdType == BusQueryDeviceID ||
                           stack->Parameters.QueryId.IdType == BusQueryInstanceID
                       ? idList(first, NULL)
                       : idList(first, second);
      if (!ids) return complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
      return complete(irp, STATUS_SUCCESS, (ULONG_PTR)ids);
    }
    case IRP_MN_QUERY_CAPABILITIES: {
      PDEVICE_CAPABILITIES caps = stack->Parameters.DeviceCapabilities.Capabilities;
      caps->Removable = 1;
      caps->SurpriseRemovalOK = 1;
      caps->SilentInstall = 1;
      return complete(irp, STATUS_SUCCESS, 0);
    }
    case IRP_MN_QUERY_DEVICE_RELATIONS:
      if (stack->Parameters.QueryDeviceRelations.Type == TargetDeviceRelation) {
        PDEVICE_RELATIONS relations = relationsOf(&device, 1);
        if (!relations) return complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
        return complete(irp, STATUS_SUCCESS, (ULONG_PTR)relations);
      }
      return complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE:
    case IRP_MN_STOP_DEVICE:
      return complete(irp, STATUS_SUCCESS, 0);
    default:
      return complete(irp, irp->IoStatus.Status, irp->IoStatus.Information);
  }
}

/* ---- the bus: what vmouse presents ---- */

static BOOLEAN samePath(const char *a, const char *b) {
  for (; *a && *a == *b; ++a, ++b) {}
  return *a == *b;
}

/* Brings the children in line with what vmouse presents now: a child whose interface is
 * gone leaves the bus (the system removes it), a new interface gets a child once no child of
 * the same name is still on its way out. Then the system is asked to look at the bus. */
static void reconcile(struct Bus *bus) {
  KIRQL irql;
  BOOLEAN changed = FALSE;
  KeAcquireSpinLock(&bus->lock, &irql);
  for (ULONG c = 0; c < bus->count; ++c) {
    struct Child *child = childOf(bus->children[c]);
    BOOLEAN presented = FALSE;
    for (size_t i = 0; i < bus->latestCount; ++i)
      if (samePath(bus->latest[i].path, child->info.path)) presented = TRUE;
    if (child->listed && !presented) {
      child->listed = FALSE;
      changed = TRUE;
    }
  }
  struct LinkInterface wanted[kLinkInterfacesMax];
  size_t wantedCount = 0;
  for (size_t i = 0; i < bus->latestCount; ++i) {
    BOOLEAN taken = FALSE;
    for (ULONG c = 0; c < bus->count; ++c)
      if (samePath(bus->latest[i].path, childOf(bus->children[c])->info.path)) taken = TRUE;
    if (!taken) wanted[wantedCount++] = bus->latest[i];
  }
  KeReleaseSpinLock(&bus->lock, irql);

  for (size_t i = 0; i < wantedCount; ++i) {
    PDEVICE_OBJECT device;
    if (!NT_SUCCESS(IoCreateDevice(busDriver, sizeof(struct Child), NULL, FILE_DEVICE_UNKNOWN,
                                   FILE_AUTOGENERATED_DEVICE_NAME, FALSE, &device)))
      continue;
    struct Child *child = childOf(device);
    RtlZeroMemory(child, sizeof *child);
    child->kind.isChild = TRUE;
    child->self = device;
    child->bus = bus;
    child->info = wanted[i];
    child->reportIds = namesReportIds(child->info.descriptor, child->info.descriptorLength);
    child->listed = TRUE;
    KeInitializeSpinLock(&child->lock);
    InitializeListHead(&child->reads);
    KeAcquireSpinLock(&bus->lock, &irql);
    if (bus->count < kChildrenMax) {
      nameChild(child, bus->count);
      bus->children[bus->count++] = device;
      changed = TRUE;
      device = NULL;
    }
    KeReleaseSpinLock(&bus->lock, irql);
    if (device) {
      IoDeleteDevice(device);
      continue;
    }
    child->self->Flags &= ~DO_DEVICE_INITIALIZING;
  }
  if (changed) IoInvalidateDeviceRelations(bus->rootDevice, BusRelations);
}

static void onPresence(void *context, const struct LinkInterface *interfaces, size_t count) {
  struct Bus *bus = context;
  KIRQL irql;
  KeAcquireSpinLock(&bus->lock, &irql);
  bus->latestCount = count < kLinkInterfacesMax ? count : kLinkInterfacesMax;
  RtlCopyMemory(bus->latest, interfaces, bus->latestCount * sizeof *interfaces);
  KeReleaseSpinLock(&bus->lock, irql);
  reconcile(bus);
}

static NTSTATUS passDown(struct Bus *bus, PIRP irp) {
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(bus->lower, irp);
}

static NTSTATUS busPnp(PDEVICE_OBJECT device, PIRP irp) {
  struct Bus *bus = device->DeviceExtension;
  PIO_STACK_LOCATION stack = IoGetCurrentIrpStackLocation(irp);
  KIRQL irql;
  switch (stack->MinorFunction) {
    case IRP_MN_START_DEVICE:
      if (!bus->link) bus->link = linkStart(PARAMETERS_KEY, onPresence, bus);
      irp->IoStatus.Status = bus->link ? STATUS_SUCCESS : STATUS_INSUFFICIENT_RESOURCES;
      return passDown(bus, irp);
    case IRP_MN_QUERY_DEVICE_RELATIONS: {
      if (stack->Parameters.QueryDeviceRelations.Type != BusRelations) return passDown(bus, irp);
      PDEVICE_OBJECT listed[kChildrenMax];
      ULONG count = 0;
      KeAcquireSpinLock(&bus->lock, &irql);
      for (ULONG c = 0; c < bus->count; ++c)
        if (childOf(bus->children[c])->listed) listed[count++] = bus->children[c];
      KeReleaseSpinLock(&bus->lock, irql);
      PDEVICE_RELATIONS relations = relationsOf(listed, count);
      if (!relations) return complete(irp, STATUS_INSUFFICIENT_RESOURCES, 0);
      irp->IoStatus.Information = (ULONG_PTR)relations;
      irp->IoStatus.Status = STATUS_SUCCESS;
      return passDown(bus, irp);
    }
    case IRP_MN_SURPRISE_REMOVAL:
    case IRP_MN_QUERY_REMOVE_DEVICE:
    case IRP_MN_CANCEL_REMOVE_DEVICE:
    case IRP_MN_QUERY_STOP_DEVICE:
    case IRP_MN_CANCEL_STOP_DEVICE:
    case IRP_MN_STOP_DEVICE:
      irp->IoStatus.Status = STATUS_SUCCESS;
      return passDown(bus, irp);
    case IRP_MN_REMOVE_DEVICE: {
      linkStop(bus->link);
      bus->link = NULL;
      for (;;) {
        KeAcquireSpinLock(&bus->lock, &irql);
        PDEVICE_OBJECT last = bus->count ? bus->children[bus->count - 1] : NULL;
        KeReleaseSpinLock(&bus->lock, irql);
        if (!last) break;
        stopChild(childOf(last), STATUS_DEVICE_NOT_CONNECTED);
        deleteChild(childOf(last));
      }
      irp->IoStatus.Status = STATUS_SUCCESS;
      NTSTATUS status = passDown(bus, irp);
      IoDetachDevice(bus->lower);
      IoDeleteDevice(device);
      return status;
    }
    default:
      return passDown(bus, irp);
  }
}

/* ---- dispatch ---- */

static BOOLEAN isChild(PDEVICE_OBJECT device) {
  return ((struct DeviceKind *)device->DeviceExtension)->isChild;
}

static NTSTATUS NTAPI dispatchPnp(PDEVICE_OBJECT device, PIRP irp) {
  return isChild(device) ? childPnp(device, irp) : busPnp(device, irp);
}

static NTSTATUS NTAPI dispatchInternalControl(PDEVICE_OBJECT device, PIRP irp) {
  if (!isChild(device)) return complete(irp, STATUS_NOT_SUPPORTED, 0);
  return childRequest(device, irp);
}

static NTSTATUS NTAPI dispatchPower(PDEVICE_OBJECT device, PIRP irp) {
  PoStartNextPowerIrp(irp);
  if (isChild(device)) return complete(irp, STATUS_SUCCESS, 0);
  struct Bus *bus = device->DeviceExtension;
  IoSkipCurrentIrpStackLocation(irp);
  return PoCallDriver(bus->lower, irp);
}

static NTSTATUS NTAPI dispatchCreateClose(PDEVICE_OBJECT device, PIRP irp) {
  (void)device;
  return complete(irp, STATUS_SUCCESS, 0);
}

static NTSTATUS NTAPI addDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT rootDevice) {
  PDEVICE_OBJECT device;
  NTSTATUS status = IoCreateDevice(driver, sizeof(struct Bus), NULL, FILE_DEVICE_BUS_EXTENDER, 0,
                                   FALSE, &device);
  if (!NT_SUCCESS(status)) return status;
  struct Bus *bus = device->DeviceExtension;
  RtlZeroMemory(bus, sizeof *bus);
  bus->self = device;
  bus->rootDevice = rootDevice;
  KeInitializeSpinLock(&bus->lock);
  bus->lower = IoAttachDeviceToDeviceStack(device, rootDevice);
  if (!bus->lower) {
    IoDeleteDevice(device);
    return STATUS_NO_SUCH_DEVICE;
  }
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

static VOID NTAPI unload(PDRIVER_OBJECT driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  (void)registryPath;
  busDriver = driver;
  driver->DriverExtension->AddDevice = addDevice;
  driver->DriverUnload = unload;
  driver->MajorFunction[IRP_MJ_PNP] = dispatchPnp;
  driver->MajorFunction[IRP_MJ_POWER] = dispatchPower;
  driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = dispatchInternalControl;
  driver->MajorFunction[IRP_MJ_CREATE] = dispatchCreateClose;
  driver->MajorFunction[IRP_MJ_CLOSE] = dispatchCreateClose;
  return STATUS_SUCCESS;
}
