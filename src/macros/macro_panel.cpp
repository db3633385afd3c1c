#include "macros/macro_panel.h"

#include <algorithm>

#include "keys/button_labels.h"
#include "macros/macro_codec.h"
#include "macros/macro_store.h"
#include "util/decimal.h"

namespace ombrisk {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kClick = " Click";

bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string replaced(std::string_view text, std::string_view from, std::string_view to) {
  std::string result(text);
  if (const std::size_t at = result.find(from); at != std::string::npos) result.replace(at, from.size(), to);
  return result;
}

std::uint16_t loopCountOfText(std::string_view text) {
  const long long value = leadingDecimal(text);
  return static_cast<std::uint16_t>(value < 1 || value > 65535 ? 1 : value);
}

}  // namespace

std::string delayEntryFromTyped(std::string_view typed) {
  const std::size_t first = typed.find_first_not_of(kBlanks);
  const std::string_view number = first == std::string_view::npos ? std::string_view{} : typed.substr(first);
  const bool digits = !number.empty() && (number.front() >= '0' && number.front() <= '9');
  const long long value = leadingDecimal(number);
  if (!digits || value > kDelayEntryMaxMs) return std::string(kDefaultDelayEntry);
  return std::to_string(value) + std::string(kDelaySuffix);
}

bool isDelayEntry(std::string_view entry) { return entry.find("ms") != std::string_view::npos; }

MacroPanel::MacroPanel(ProfileStore& store, std::string recordIni, SettingsRecord& record, const InterfaceTexts& texts,
                       const ButtonLabelSet* labels)
    : store_(store), recordIni_(std::move(recordIni)), record_(record), texts_(texts), labels_(labels) {}

void MacroPanel::load() {
  const ProfileDocument file = store_.load(recordIni_);
  names_ = file.sectionNames();
  blockOwners_ = macroBlockOwners(file, record_);
  entries_.clear();
  selectedEntry_.reset();
  if (names_.empty()) {
    selectedMacro_.reset();
    setLoopText("");
    return;
  }
  selectedMacro_ = 0;
  showMacro(0, true);
}

void MacroPanel::showMacro(std::size_t index, bool alwaysShowLoopCount) {
  nameText_ = names_[index];
  entries_ = readMacroEntries(store_, recordIni_, names_[index]);
  selectedEntry_.reset();
  const std::optional<std::size_t> block = blockOf(names_[index]);
  if (alwaysShowLoopCount || !entries_.empty())
    setLoopText(std::to_string(block ? loopCountOfMacro(record_, *block) : 0));
}

std::optional<std::size_t> MacroPanel::blockOf(std::string_view name) const {
  for (std::size_t t = 0; t < blockOwners_.size(); ++t)
    if (!blockOwners_[t].empty() && blockOwners_[t] == name) return t;
  return std::nullopt;
}

void MacroPanel::selectMacro(std::optional<std::size_t> index) {
  if (!index || *index >= names_.size()) {
    selectedMacro_.reset();
    return;
  }
  selectedMacro_ = index;
  showMacro(*index, false);
}

void MacroPanel::selectEntry(std::optional<std::size_t> index) {
  selectedEntry_ = index && *index < entries_.size() ? index : std::nullopt;
}

void MacroPanel::setLoopText(std::string_view text) {
  const std::optional<std::size_t> block =
      selectedMacro_ && *selectedMacro_ < names_.size() ? blockOf(names_[*selectedMacro_]) : std::nullopt;
  loopText_ = setLoopCountFromText(text, block, record_);
}

std::optional<PanelMessage> MacroPanel::newMacro() {
  if (nameText_.find_first_not_of(kBlanks) == std::string::npos)
    return PanelMessage{texts_[TextId::MacroNameBlank], PanelMessage::Caption::Application};
  if (names_.size() >= kMacroListMax) return PanelMessage{std::string(kMacroNumbersMessage), PanelMessage::Caption::Warning};
  for (const std::string& name : names_)
    if (sameNameIgnoringCase(name, nameText_))
      return PanelMessage{texts_[TextId::MacroNameExists], PanelMessage::Caption::Application};
  // A name record.ini would read back as another one (or as none) is refused here, before
  // the list shows a macro that could never be saved.
  if (!macroNameFitsStore(nameText_))
    return PanelMessage{macroNameUnfitMessage(texts_.language()), PanelMessage::Caption::Warning};
  names_.push_back(nameText_);
  entries_.clear();
  selectedEntry_.reset();
  selectedMacro_ = names_.size() - 1;
  return std::nullopt;
}

std::optional<PanelMessage> MacroPanel::deleteMacro() {
  if (!selectedMacro_ || *selectedMacro_ >= names_.size()) return std::nullopt;
  const std::string name = names_[*selectedMacro_];
  names_.erase(names_.begin() + static_cast<std::ptrdiff_t>(*selectedMacro_));
  entries_.clear();
  selectedEntry_.reset();
  nameText_.clear();
  selectedMacro_.reset();
  if (!ombrisk::deleteMacro(store_, recordIni_, name))
    return PanelMessage{macroFileNotSavedMessage(texts_.language(), recordIni_), PanelMessage::Caption::Warning};
  // Its block keeps its events until the next save, but no macro of that name any more (a
  // new one of the same name is another macro).
  for (std::string& owner : blockOwners_)
    if (owner == name) owner.clear();
  return std::nullopt;
}

std::optional<PanelMessage> MacroPanel::save() {
  if (!selectedMacro_ || *selectedMacro_ >= names_.size()) return std::nullopt;
  const std::string name = names_[*selectedMacro_];

  // Saving moves the section to the end of the file, and with it the macro numbers; the loop
  // counts live in the blocks by number, so they are carried along by the macros' names.
  std::vector<std::pair<std::string, std::uint16_t>> loopCounts;
  for (std::size_t t = 0; t < rec::kMacroCount; ++t)
    if (!blockOwners_[t].empty()) loopCounts.emplace_back(blockOwners_[t], macroLoopCount(record_.macroBlock(t)));

  const MacroSaveResult result = saveMacro(store_, recordIni_, name, entries_, record_, texts_.language());
  switch (result.outcome) {
    case MacroSaveOutcome::Saved: break;
    case MacroSaveOutcome::NothingSelected: return std::nullopt;
    case MacroSaveOutcome::NameUnfit:
      return PanelMessage{macroNameUnfitMessage(texts_.language()), PanelMessage::Caption::Warning};
    case MacroSaveOutcome::TooLong:
    case MacroSaveOutcome::FileNotSaved: return PanelMessage{result.message, PanelMessage::Caption::Warning};
  }

  const ProfileDocument file = store_.load(recordIni_);
  const std::vector<std::string> after = file.sectionNames();
  for (std::size_t t = 0; t < std::min(after.size(), rec::kMacroCount); ++t) {
    // A section without entries has had its whole block cleared, loop count included.
    if (macroEntries(file.section(after[t])).empty()) continue;
    if (after[t] == name) {
      setMacroLoopCount(record_.macroBlock(t), loopCountOfText(loopText_));
      continue;
    }
    const auto kept = std::find_if(loopCounts.begin(), loopCounts.end(),
                                   [&](const auto& entry) { return entry.first == after[t]; });
    if (kept != loopCounts.end()) setMacroLoopCount(record_.macroBlock(t), kept->second);
  }
  blockOwners_ = MacroBlockOwners{};
  std::copy_n(after.begin(), std::min(after.size(), rec::kMacroCount), blockOwners_.begin());
  if (labels_) followMacroLabels(record_, *labels_, texts_, after);

  // The list follows the file's order, so that list positions are macro numbers again; names
  // not saved yet stay after the saved ones.
  std::vector<std::string> names = after;
  for (const std::string& listed : names_)
    if (std::none_of(after.begin(), after.end(), [&](const std::string& saved) { return saved == listed; }))
      names.push_back(listed);
  names_ = std::move(names);
  const auto saved = std::find(names_.begin(), names_.end(), name);
  selectedMacro_ = saved == names_.end() ? std::nullopt : std::optional<std::size_t>(saved - names_.begin());
  return std::nullopt;
}

void MacroPanel::insertMouseEvent(std::string_view name) {
  mouseEventText_ = std::string(name);
  const bool click = name.find("Click") != std::string_view::npos;
  const std::string press = replaced(name, kClick, kPressSuffix), release = replaced(name, kClick, kReleaseSuffix);
  const std::string delay(kDefaultDelayEntry), event(name);
  const auto insertAfter = [this](std::size_t at, std::vector<std::string> inserted) {
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at + 1), inserted.begin(), inserted.end());
  };

  if (!selectedEntry_ || *selectedEntry_ >= entries_.size()) {
    // Without a selection only an empty list of a chosen macro takes the event, at the top.
    if (entries_.empty() && selectedMacro_)
      entries_ = click ? std::vector<std::string>{press, delay, release, delay} : std::vector<std::string>{event, delay};
    return;
  }
  const std::size_t at = *selectedEntry_;
  if (isDelayEntry(entries_[at])) {
    insertAfter(at, click ? std::vector<std::string>{press, delay, release, delay} : std::vector<std::string>{event, delay});
    selectedEntry_ = at + 1;
  } else {
    insertAfter(at, click ? std::vector<std::string>{delay, press, delay, release} : std::vector<std::string>{delay, event});
    selectedEntry_ = at + 2;
  }
}

void MacroPanel::setDelay(std::size_t index, std::string_view typed) {
  if (index >= entries_.size() || !isDelayEntry(entries_[index])) return;
  entries_[index] = delayEntryFromTyped(typed);
  selectedEntry_ = index;
}

void MacroPanel::deleteSelectedEntry() {
  if (!selectedEntry_ || *selectedEntry_ >= entries_.size()) return;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(*selectedEntry_));
  selectedEntry_.reset();
}

void MacroPanel::clearEntries() {
  entries_.clear();
  selectedEntry_.reset();
}

void MacroPanel::appendEntries(const std::vector<std::string>& entries) {
  entries_.insert(entries_.end(), entries.begin(), entries.end());
  if (!entries_.empty()) selectedEntry_ = entries_.size() - 1;
}

}  // namespace ombrisk
