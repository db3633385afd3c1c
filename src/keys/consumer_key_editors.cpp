#include "keys/consumer_key_editors.h"

namespace ombrisk {

std::span<const ConsumerFunctionEntry> consumerFunctions(ConsumerList list) {
  return list == ConsumerList::Media ? mediaFunctionList() : windowsFunctionList();
}

std::vector<std::string> consumerListItems(ConsumerList list, Language language) {
  std::vector<std::string> items;
  for (const ConsumerFunctionEntry& entry : consumerFunctions(list)) items.emplace_back(listText(entry, language));
  return items;
}

ConsumerKeyChoice firstConsumerChoice(ConsumerList list, Language language) {
  return {0, std::string(listText(consumerFunctions(list).front(), language))};
}

}  // namespace ombrisk
