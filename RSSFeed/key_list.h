// Cutting a plug-in's key list into address keys.
#ifndef TAVREL_KEY_LIST_H
#define TAVREL_KEY_LIST_H

#include <string_view>

namespace tavrel {

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
