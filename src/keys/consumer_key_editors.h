// The multimedia and Windows-function editors without their windows: their lists in the
// interface language and their choice.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "app/interface_texts.h"
#include "keys/key_names.h"

namespace ombrisk {

// A position of the editor's list and its text; untouched, the first entry.
struct ConsumerKeyChoice {
  int index = 0;
  std::string text;
};
// The two editors' answers are told apart by their types.
struct MediaChoice : ConsumerKeyChoice {};
struct WindowsChoice : ConsumerKeyChoice {};

enum class ConsumerList { Media, Windows };

std::span<const ConsumerFunctionEntry> consumerFunctions(ConsumerList list);
std::vector<std::string> consumerListItems(ConsumerList list, Language language);
// Position 0 with its text, as the editor starts.
ConsumerKeyChoice firstConsumerChoice(ConsumerList list, Language language);

}  // namespace ombrisk
