/* ombrisk_vhid.sys: the HID minidriver of the virtual mouse's devices. The system's HID
 * class driver sits on top of it; everything below is the bus driver's (bus.c), whose child
 * devices serve the report descriptors and carry the reports to vmouse. So this driver
 * only registers with the class driver and passes each request of the class driver down
 * to the device under it. */
#include "hid_minidriver.h"

static NTSTATUS passDown(PDEVICE_OBJECT device, PIRP irp) {
  PHID_DEVICE_EXTENSION hid = device->DeviceExtension;
  IoSkipCurrentIrpStackLocation(irp);
  return IoCallDriver(hid->NextDeviceObject, irp);
}

static NTSTATUS NTAPI dispatchPnp(PDEVICE_OBJECT device, PIRP irp) { return passDown(device, irp); }

static NTSTATUS NTAPI dispatchPower(PDEVICE_OBJECT device, PIRP irp) {
  PHID_DEVICE_EXTENSION hid = device->DeviceExtension;
  PoStartNextPowerIrp(irp);
  IoSkipCurrentIrpStackLocation(irp);
  return PoCallDriver(hid->NextDeviceObject, irp);
}

static NTSTATUS NTAPI dispatchInternalControl(PDEVICE_OBJECT device, PIRP irp) {
  return passDown(device, irp);
}

static NTSTATUS NTAPI addDevice(PDRIVER_OBJECT driver, PDEVICE_OBJECT device) {
  (void)driver;
  device->Flags &= ~DO_DEVICE_INITIALIZING;
  return STATUS_SUCCESS;
}

static VOID NTAPI unload(PDRIVER_OBJECT driver) { (void)driver; }

NTSTATUS NTAPI DriverEntry(PDRIVER_OBJECT driver, PUNICODE_STRING registryPath) {
  HID_MINIDRIVER_REGISTRATION registration = {0};
  driver->DriverExtension->AddDevice = addDevice;
  driver->DriverUnload = unload;
  driver->MajorFunction[IRP_MJ_PNP] = dispatchPnp;
  driver->MajorFunction[IRP_MJ_POWER] = dispatchPower;
  driver->MajorFunction[IRP_MJ_INTERNAL_DEVICE_CONTROL] = dispatchInternalControl;

  registration.Revision = HID_REVISION;
  registration.DriverObject = driver;
  registration.RegistryPath = registryPath;
  registration.DeviceExtensionSize = 0;
  registration.DevicesArePolled = FALSE;
  return HidRegisterMinidriver(&registration);
}
