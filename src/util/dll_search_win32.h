// Where DLLs loaded by name come from.
#pragma once

namespace ombrisk {

// From now on every DLL this process loads by name (the delay-loaded system DLLs at their
// first call, and whatever those load in turn) comes from the system folder, never from the
// program's folder or the current one, where anyone may have put a DLL of the same name.
// Called first thing by the programs, before any delay-loaded DLL is needed. A Windows 7
// without SetDefaultDllDirectories (update KB2533623) at least drops the current folder.
void limitDllSearchToSystemFolder();

}  // namespace ombrisk
