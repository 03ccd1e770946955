// The probe's output as a tree, written either as JSON or as indented text.
#ifndef TAVREL_PROBE_DOCUMENT_H
#define TAVREL_PROBE_DOCUMENT_H

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace probe {

class Node {
public:
  enum class Kind { null, boolean, number, text, list, object };

  Node() = default;
  static Node boolean(bool value);
  static Node number(std::int64_t value);
  static Node text(std::string value);
  static Node list();
  static Node object();
  static Node texts(const std::vector<std::string> &values);

  // Adds a member to an object, or an item to a list; returns *this.
  Node &add(std::string key, Node value);
  Node &push(Node value);

  Kind kind() const { return kind_; }
  bool empty() const { return items_.empty() && members_.empty(); }
  const std::string &text_value() const { return text_; }
  const std::vector<Node> &items() const { return items_; }
  // The member of an object by its key, or null.
  const Node *member(const std::string &key) const;

  std::string to_json() const;
  std::string to_text() const;

private:
  void write_json(std::string &out, int depth) const;
  void write_text(std::string &out, int depth) const;
  std::string scalar_text() const;

  Kind kind_ = Kind::null;
  bool boolean_ = false;
  std::int64_t number_ = 0;
  std::string text_;
  std::vector<Node> items_;
  std::vector<std::pair<std::string, Node>> members_;
};

// "0x0000000f"
std::string hex(std::uint32_t value);

} // namespace probe

#endif
