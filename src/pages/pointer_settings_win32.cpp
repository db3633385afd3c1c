#include "pages/pointer_settings_win32.h"

#include "util/wide_win32.h"

namespace ombrisk {
namespace {

void warn(HWND owner, std::string_view text) {
  MessageBoxW(owner, widen(text).c_str(), L"Warning", MB_OK);
}

bool makeCall(const PointerCall& call) {
  const UINT update = call.saveToProfile ? SPIF_UPDATEINIFILE | SPIF_SENDCHANGE : SPIF_SENDCHANGE;
  switch (call.kind) {
    case PointerCall::Kind::SetMouse: {
      int values[3] = {call.values[0], call.values[1], call.values[2]};
      return SystemParametersInfoW(SPI_SETMOUSE, 0, values, update) != FALSE;
    }
    case PointerCall::Kind::SetMouseSpeed:
      // The speed travels in the pointer argument itself; Wine takes it from the integer
      // argument, which the system ignores, so it goes in both.
      return SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(call.values[0]),
                                   reinterpret_cast<PVOID>(static_cast<INT_PTR>(call.values[0])), update) != FALSE;
    case PointerCall::Kind::SetWheelLines:
      return SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, static_cast<UINT>(call.values[0]), nullptr, update) != FALSE;
    case PointerCall::Kind::SetDoubleClickTime:
      return SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, static_cast<UINT>(call.values[0]), nullptr, update) != FALSE;
  }
  return false;
}

}  // namespace

void makePointerCalls(HWND owner, const std::vector<PointerCall>& calls) {
  for (const PointerCall& call : calls)
    if (!makeCall(call)) warn(owner, call.failureText);
}

SystemPointerReading readSystemPointer(HWND owner) {
  SystemPointerReading reading;
  int mouse[3] = {};
  if (SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0)) reading.acceleration = mouse[2];
  int speed = 0;
  if (SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0))
    reading.speed = speed;
  else
    warn(owner, kGetSpeedFailed);
  UINT lines = 0;
  if (SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
    reading.wheelLines = lines;
  else
    warn(owner, kGetWheelFailed);
  if (const UINT time = GetDoubleClickTime(); time != 0)
    reading.doubleClickMs = time;
  else
    warn(owner, kGetDoubleClickFailed);
  return reading;
}

void readSystemPointerOnce(HWND owner, SettingsRecord& record) {
  static bool read = false;
  if (read) return;
  takeSystemPointerReading(readSystemPointer(owner), record);
  read = true;
}

}  // namespace ombrisk
