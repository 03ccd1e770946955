// Cutting a plug-in's key list into address keys.
#ifndef TAVREL_KEY_LIST_H
#define TAVREL_KEY_LIST_H

#include <cstring>
#include <string_view>

#include "TavrelPlugin.h"

namespace tavrel {

// The key list a plug-in filled in: up to its NUL, or, for a list that fills
// the record without one, to the record's end and no further.
inline std::string_view key_list_of(const PluginInfo &info) {
  const void *end = std::memchr(info.szKeyList, '\0', sizeof info.szKeyList);
  return std::string_view(info.szKeyList,
                          end ? static_cast<const char *>(end) - info.szKeyList
                              : sizeof info.szKeyList);
}

// Whether the list ended with a NUL inside the record.
inline bool key_list_terminated(const PluginInfo &info) {
  return key_list_of(info).size() < sizeof info.szKeyList;
}

// Calls visit(key) for each key of a ";"-separated list, in list order. Every
// piece that a ";" ends is a key, an empty one too; the piece after the last
// ";" is a key only when it is not empty. Keys are taken byte for byte: nothing
// is trimmed or case-folded.
template <typename Visit>
void cut_key_list(std::string_view list, Visit visit) {
  std::string_view::size_type start = 0;
  for (auto end = list.find(';'); end != std::string_view::npos;
       end = list.find(';', start)) {
    visit(list.substr(start, end - start));
    start = end + 1;
  }
  if (start < list.size())
    visit(list.substr(start));
}

} // namespace tavrel

#endif
