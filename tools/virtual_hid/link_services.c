/* The kernel's services behind link_services.h. */
#include <ntddk.h>

#include "link_services.h"

/* Exported by the kernel; the MinGW-w64 driver headers leave it out. */
NTSYSAPI NTSTATUS NTAPI ZwWaitForSingleObject(HANDLE handle, BOOLEAN alertable, PLARGE_INTEGER timeout);

void *serviceAlloc(size_t bytes) {
  void *memory = ExAllocatePool(NonPagedPool, bytes);
  if (memory) RtlZeroMemory(memory, bytes);
  return memory;
}

void serviceFree(void *memory) {
  if (memory) ExFreePool(memory);
}

uint64_t serviceMilliseconds(void) {
  LARGE_INTEGER frequency;
  LARGE_INTEGER now = KeQueryPerformanceCounter(&frequency);
  if (frequency.QuadPart <= 0) return 0;
  return (uint64_t)(now.QuadPart / (frequency.QuadPart / 1000 ? frequency.QuadPart / 1000 : 1));
}

struct ServiceThread {
  HANDLE handle;
  void (*main)(void *);
  void *argument;
};

static VOID NTAPI threadStart(PVOID context) {
  struct ServiceThread *thread = context;
  thread->main(thread->argument);
  PsTerminateSystemThread(STATUS_SUCCESS);
}

struct ServiceThread *serviceStartThread(void (*main)(void *argument), void *argument) {
  struct ServiceThread *thread = serviceAlloc(sizeof *thread);
  if (!thread) return NULL;
  thread->main = main;
  thread->argument = argument;
  if (!NT_SUCCESS(PsCreateSystemThread(&thread->handle, THREAD_ALL_ACCESS, NULL, NULL, NULL,
                                       threadStart, thread))) {
    serviceFree(thread);
    return NULL;
  }
  return thread;
}

void serviceJoinThread(struct ServiceThread *thread) {
  if (!thread) return;
  ZwWaitForSingleObject(thread->handle, FALSE, NULL);
  ZwClose(thread->handle);
  serviceFree(thread);
}

struct ServiceEvent {
  KEVENT event;
};

struct ServiceEvent *serviceCreateEvent(int manualReset) {
  struct ServiceEvent *event = serviceAlloc(sizeof *event);
  if (event) KeInitializeEvent(&event->event, manualReset ? NotificationEvent : SynchronizationEvent, FALSE);
  return event;
}

void serviceSetEvent(struct ServiceEvent *event) { KeSetEvent(&event->event, IO_NO_INCREMENT, FALSE); }

int serviceWaitEvent(struct ServiceEvent *event, int milliseconds) {
  LARGE_INTEGER timeout;
  timeout.QuadPart = -10000LL * milliseconds; /* relative, in 100 ns */
  return KeWaitForSingleObject(&event->event, Executive, KernelMode, FALSE,
                               milliseconds < 0 ? NULL : &timeout) == STATUS_SUCCESS;
}

void serviceDestroyEvent(struct ServiceEvent *event) { serviceFree(event); }

struct ServiceLock {
  KSPIN_LOCK lock;
  KIRQL irql;
};

struct ServiceLock *serviceCreateLock(void) {
  struct ServiceLock *lock = serviceAlloc(sizeof *lock);
  if (lock) KeInitializeSpinLock(&lock->lock);
  return lock;
}

void serviceLock(struct ServiceLock *lock) {
  KIRQL irql;
  KeAcquireSpinLock(&lock->lock, &irql);
  lock->irql = irql;
}

void serviceUnlock(struct ServiceLock *lock) { KeReleaseSpinLock(&lock->lock, lock->irql); }

void serviceDestroyLock(struct ServiceLock *lock) { serviceFree(lock); }

uint32_t serviceReadDword(const wchar_t *keyPath, const wchar_t *name) {
  static const WCHAR kMachine[] = L"\\Registry\\Machine\\";
  WCHAR path[300];
  size_t at = 0;
  for (const WCHAR *p = kMachine; *p; ++p) path[at++] = *p;
  for (const wchar_t *p = keyPath; *p && at + 1 < sizeof path / sizeof path[0]; ++p) path[at++] = *p;
  path[at] = 0;
  UNICODE_STRING keyName, valueName;
  RtlInitUnicodeString(&keyName, path);
  RtlInitUnicodeString(&valueName, name);
  OBJECT_ATTRIBUTES attributes;
  InitializeObjectAttributes(&attributes, &keyName, OBJ_CASE_INSENSITIVE | OBJ_KERNEL_HANDLE, NULL, NULL);
  HANDLE key;
  if (!NT_SUCCESS(ZwOpenKey(&key, KEY_QUERY_VALUE, &attributes))) return 0;
  union {
    KEY_VALUE_PARTIAL_INFORMATION info;
    UCHAR bytes[sizeof(KEY_VALUE_PARTIAL_INFORMATION) + sizeof(ULONG)];
  } value;
  ULONG length = 0;
  uint32_t result = 0;
  if (NT_SUCCESS(ZwQueryValueKey(key, &valueName, KeyValuePartialInformation, &value, sizeof value, &length)) &&
      value.info.Type == REG_DWORD && value.info.DataLength == sizeof(ULONG))
    RtlCopyMemory(&result, value.info.Data, sizeof result);
  ZwClose(key);
  return result;
}
