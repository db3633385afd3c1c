// The macro panel of the Advanced page as data: the macro list (151) and the event list (152)
// with their selections, the name and loop-times boxes, the mouse-event box text, and every
// command of the panel. The window shows what this holds and hands the user's changes in;
// the commands return the message to show when they refuse.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/interface_texts.h"
#include "macros/macro_store.h"
#include "settings/profile_store.h"
#include "settings/settings_files.h"
#include "settings/settings_image.h"

namespace ombrisk {

// A message box: its text and caption (the application title or "Warning").
struct PanelMessage {
  enum class Caption { Application, Warning };
  std::string text;
  Caption caption = Caption::Application;
  bool operator==(const PanelMessage&) const = default;
};

inline constexpr std::size_t kMacroListMax = 12;
inline constexpr std::string_view kMacroNumbersMessage = "Macro numbers up to 12.";
inline constexpr std::string_view kDefaultDelayEntry = "50 ms";
// The longest delay the delay dialog takes; anything else becomes the default delay.
inline constexpr long long kDelayEntryMaxMs = 10000;

// The mouse-event list (154), in its order.
inline constexpr std::array<std::string_view, 9> kMouseEventNames = {
    "L-Button Click", "R-Button Click", "M-Button Click", "L-Button   Dn", "L-Button   Up",
    "R-Button   Dn",  "R-Button   Up",  "M-Button   Dn",  "M-Button   Up",
};

// The event-list entry the delay dialog's text gives: the number and " ms" for 0..10000
// (blanks around it allowed), "50 ms" for anything else (letters, a sign, more than 10000).
std::string delayEntryFromTyped(std::string_view typed);
bool isDelayEntry(std::string_view entry);

class MacroPanel {
 public:
  // labels: the button labels of the interface language, by which Macro Key buttons follow
  // their macros to new numbers when a save moves them (none: the buttons are left alone).
  MacroPanel(ProfileStore& store, std::string recordIni, SettingsRecord& record, const InterfaceTexts& texts,
             const ButtonLabelSet* labels = nullptr);

  // The first display: the macro names in file order, the first one selected with its name,
  // entries and loop count (the loop-count rule then runs on the box as on any change).
  void load();

  const std::vector<std::string>& macroNames() const { return names_; }
  std::optional<std::size_t> selectedMacro() const { return selectedMacro_; }
  const std::vector<std::string>& entries() const { return entries_; }
  std::optional<std::size_t> selectedEntry() const { return selectedEntry_; }
  const std::string& nameText() const { return nameText_; }
  const std::string& loopText() const { return loopText_; }
  const std::string& mouseEventText() const { return mouseEventText_; }

  // The user chose a macro (151): its name, entries and, when it has entries, loop count.
  void selectMacro(std::optional<std::size_t> index);
  // The event list's selection as the list shows it (it follows the pointer).
  void selectEntry(std::optional<std::size_t> index);
  void setNameText(std::string text) { nameText_ = std::move(text); }
  // The loop-times box changed: the loop-count rule (outside 1..65535 the box shows "1") and
  // the selected macro's loop count.
  void setLoopText(std::string_view text);

  // "New": a new name from the name box, selected with an empty event list; nothing is written
  // until it is saved.
  std::optional<PanelMessage> newMacro();
  // "Delete": the selected macro leaves the list and record.ini; the blocks stay as they are
  // until the next save encodes them anew.
  std::optional<PanelMessage> deleteMacro();
  // "Confirm": the selected macro's entries are written to record.ini and every macro block is
  // encoded anew. The loop counts stay with their macros and the saved one gets the loop-times
  // box's count; the list then follows the file's order (the saved macro moved to its end),
  // and every Macro Key button of both key tables gets the new number of the macro its label
  // names.
  std::optional<PanelMessage> save();

  // A choice in the mouse-event list, inserted by the rules of the selected entry.
  void insertMouseEvent(std::string_view name);
  // After the delay dialog's OK on the delay entry at index.
  void setDelay(std::size_t index, std::string_view typed);
  // The context menu's "Delete": the selected entry goes.
  void deleteSelectedEntry();

  // Recording: the event list starts empty, and recorded entries are appended with the last
  // one selected.
  void clearEntries();
  void appendEntries(const std::vector<std::string>& entries);

 private:
  void showMacro(std::size_t index, bool alwaysShowLoopCount);
  // The block that holds the loop count of the named macro; none for a macro not saved yet.
  std::optional<std::size_t> blockOf(std::string_view name) const;

  ProfileStore& store_;
  std::string recordIni_;
  SettingsRecord& record_;
  const InterfaceTexts& texts_;
  const ButtonLabelSet* labels_;
  std::vector<std::string> names_;
  // Whose loop count each block holds (and whose events, since the last encoding): taken
  // from what the blocks hold when the panel loads, and kept by the saves and deletes.
  MacroBlockOwners blockOwners_;
  std::optional<std::size_t> selectedMacro_;
  std::vector<std::string> entries_;
  std::optional<std::size_t> selectedEntry_;
  std::string nameText_;
  std::string loopText_;
  std::string mouseEventText_;
};

}  // namespace ombrisk
