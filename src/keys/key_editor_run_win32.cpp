#include "keys/key_editor_run_win32.h"

#include "keys/combo_dialog_win32.h"
#include "keys/consumer_key_dialog_win32.h"
#include "keys/fire_key_dialog_win32.h"
#include "keys/single_dialog_win32.h"
#include "macros/macro_dialog_win32.h"

namespace ombrisk {
namespace {

template <typename Editor>
std::optional<EditorAnswer> answerOf(Editor& editor, HWND owner) {
  if (editor.run(owner) != IDOK) return std::nullopt;
  return EditorAnswer{editor.result()};
}

}  // namespace

std::optional<EditorAnswer> runKeyEditor(EditorDialog dialog, HWND owner, ProfileStore& profiles,
                                         const std::string& recordIni) {
  switch (dialog) {
    case EditorDialog::Windows: {
      CWindowsDialog editor;
      return answerOf(editor, owner);
    }
    case EditorDialog::Media: {
      CMediaDialog editor;
      return answerOf(editor, owner);
    }
    case EditorDialog::FireKey: {
      CFireKeyDialog editor;
      return answerOf(editor, owner);
    }
    case EditorDialog::Single: {
      CSingleDialog editor;
      return answerOf(editor, owner);
    }
    case EditorDialog::Combo: {
      CComboDialog editor;
      return answerOf(editor, owner);
    }
    case EditorDialog::Macro: {
      CMacroDialog editor(profiles, recordIni);
      return answerOf(editor, owner);
    }
    default:
      return std::nullopt;  // the delay and skin dialogs answer no function choice
  }
}

}  // namespace ombrisk
