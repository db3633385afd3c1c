// Runs the editor a function choice asks for, modally over owner, and gives its answer.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "keys/function_choice.h"
#include "settings/profile_store.h"
#include "skin/dialog_frame.h"

namespace ombrisk {

// The answer after OK; nothing after Cancel or the close button. The macro editor lists the
// macros of recordIni.
std::optional<EditorAnswer> runKeyEditor(EditorDialog dialog, HWND owner, ProfileStore& profiles,
                                         const std::string& recordIni);

}  // namespace ombrisk
