#include "document.h"

#include <cstdio>

namespace probe {
namespace {

void indent(std::string &out, int depth) { out.append(2 * depth, ' '); }

void write_json_string(std::string &out, const std::string &value) {
  out += '"';
  for (unsigned char c : value) {
    switch (c) {
    case '"':
      out += "\\\"";
      break;
    case '\\':
      out += "\\\\";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\t':
      out += "\\t";
      break;
    default:
      if (c < 0x20) {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
        out += escaped;
      } else {
        out += static_cast<char>(c);
      }
    }
  }
  out += '"';
}

bool is_scalar(const Node &node) {
  return node.kind() != Node::Kind::list && node.kind() != Node::Kind::object;
}

bool all_scalars(const std::vector<Node> &items) {
  for (const Node &item : items)
    if (!is_scalar(item))
      return false;
  return true;
}

} // namespace

Node Node::boolean(bool value) {
  Node node;
  node.kind_ = Kind::boolean;
  node.boolean_ = value;
  return node;
}

Node Node::number(std::int64_t value) {
  Node node;
  node.kind_ = Kind::number;
  node.number_ = value;
  return node;
}

Node Node::text(std::string value) {
  Node node;
  node.kind_ = Kind::text;
  node.text_ = std::move(value);
  return node;
}

Node Node::list() {
  Node node;
  node.kind_ = Kind::list;
  return node;
}

Node Node::object() {
  Node node;
  node.kind_ = Kind::object;
  return node;
}

Node Node::texts(const std::vector<std::string> &values) {
  Node node = list();
  for (const std::string &value : values)
    node.push(text(value));
  return node;
}

Node &Node::add(std::string key, Node value) {
  members_.emplace_back(std::move(key), std::move(value));
  return *this;
}

const Node *Node::member(const std::string &key) const {
  for (const auto &[name, value] : members_)
    if (name == key)
      return &value;
  return nullptr;
}

Node &Node::push(Node value) {
  items_.push_back(std::move(value));
  return *this;
}

std::string Node::to_json() const {
  std::string out;
  write_json(out, 0);
  out += '\n';
  return out;
}

std::string Node::to_text() const {
  std::string out;
  write_text(out, 0);
  return out;
}

std::string Node::scalar_text() const {
  switch (kind_) {
  case Kind::null:
    return "-";
  case Kind::boolean:
    return boolean_ ? "yes" : "no";
  case Kind::number:
    return std::to_string(number_);
  default:
    return text_.empty() ? "\"\"" : text_;
  }
}

void Node::write_json(std::string &out, int depth) const {
  switch (kind_) {
  case Kind::null:
    out += "null";
    return;
  case Kind::boolean:
    out += boolean_ ? "true" : "false";
    return;
  case Kind::number:
    out += std::to_string(number_);
    return;
  case Kind::text:
    write_json_string(out, text_);
    return;
  case Kind::list:
    out += '[';
    for (std::size_t i = 0; i < items_.size(); ++i) {
      out += i ? ",\n" : "\n";
      indent(out, depth + 1);
      items_[i].write_json(out, depth + 1);
    }
    if (!items_.empty()) {
      out += '\n';
      indent(out, depth);
    }
    out += ']';
    return;
  case Kind::object:
    out += '{';
    for (std::size_t i = 0; i < members_.size(); ++i) {
      out += i ? ",\n" : "\n";
      indent(out, depth + 1);
      write_json_string(out, members_[i].first);
      out += ": ";
      members_[i].second.write_json(out, depth + 1);
    }
    if (!members_.empty()) {
      out += '\n';
      indent(out, depth);
    }
    out += '}';
    return;
  }
}

// Objects become "key: value" lines, lists of objects "- " items, and lists
// of scalars one comma-separated line.
void Node::write_text(std::string &out, int depth) const {
  if (kind_ == Kind::object) {
    for (const auto &[key, value] : members_) {
      indent(out, depth);
      out += key + ":";
      if (is_scalar(value)) {
        out += " " + value.scalar_text() + "\n";
      } else if (value.empty()) {
        out += " (none)\n";
      } else if (value.kind_ == Kind::list && all_scalars(value.items_)) {
        std::string line;
        for (const Node &item : value.items_)
          line += (line.empty() ? "" : ", ") + item.scalar_text();
        out += " " + line + "\n";
      } else {
        out += "\n";
        value.write_text(out, depth + 1);
      }
    }
  } else if (kind_ == Kind::list) {
    for (const Node &item : items_) {
      indent(out, depth);
      out += "-";
      if (is_scalar(item)) {
        out += " " + item.scalar_text() + "\n";
      } else {
        std::string nested;
        item.write_text(nested, depth + 1);
        // The first member goes on the "- " line itself.
        out += " " + nested.substr(2 * (depth + 1));
      }
    }
  } else {
    out += scalar_text() + "\n";
  }
}

std::string hex(std::uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08lx",
                static_cast<unsigned long>(value));
  return text;
}

} // namespace probe
