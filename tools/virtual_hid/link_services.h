/* The kernel's services that vmouse_link uses: memory, threads, events, a lock, the time and
 * the registry. The link reaches them through these few functions (link_services.c) rather
 * than through the user-mode API, so that the driver imports no user-mode system library but
 * Winsock: Wine's loader takes an image that imports kernel32 or ntdll for an ordinary DLL
 * and runs its entry point as DllMain. */
#ifndef OMBRISK_LINK_SERVICES_H
#define OMBRISK_LINK_SERVICES_H

#include <stddef.h>
#include <stdint.h>

void *serviceAlloc(size_t bytes); /* zero-filled; null when there is no memory */
void serviceFree(void *memory);

/* Milliseconds from some fixed point, ever growing. */
uint64_t serviceMilliseconds(void);

struct ServiceThread;
struct ServiceThread *serviceStartThread(void (*main)(void *argument), void *argument);
/* Waits for the thread to end and frees it. */
void serviceJoinThread(struct ServiceThread *thread);

struct ServiceEvent;
struct ServiceEvent *serviceCreateEvent(int manualReset);
void serviceSetEvent(struct ServiceEvent *event);
/* 1 when the event was set within milliseconds (negative: no bound). */
int serviceWaitEvent(struct ServiceEvent *event, int milliseconds);
void serviceDestroyEvent(struct ServiceEvent *event);

struct ServiceLock;
struct ServiceLock *serviceCreateLock(void);
void serviceLock(struct ServiceLock *lock);
void serviceUnlock(struct ServiceLock *lock);
void serviceDestroyLock(struct ServiceLock *lock);

/* The DWORD value name of the key path under HKEY_LOCAL_MACHINE; 0 when there is none. */
uint32_t serviceReadDword(const wchar_t *keyPath, const wchar_t *name);

#endif
