#include "platform/ini_text.h"

#include <vector>

namespace zandrell::platform {

namespace {

struct Line {
  std::string_view Text;    // without its terminator
  std::string_view Ending;  // "\r\n", "\n", "\r" or "" for the last line
};

std::vector<Line> SplitLines(std::string_view content) {
  std::vector<Line> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back({content.substr(start), {}});
      break;
    }
    std::size_t next = end + 1;
    if (content[end] == '\r' && next < content.size() && content[next] == '\n') ++next;
    lines.push_back({content.substr(start, end - start), content.substr(end, next - end)});
    start = next;
  }
  return lines;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

// The name of a section header line, or nullopt when the line is none.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return std::nullopt;
  std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

bool IsKeyLine(std::string_view line, std::string_view key) {
  std::size_t equals = line.find('=');
  return equals != std::string_view::npos && SameName(Trim(line.substr(0, equals)), key);
}

std::string_view Unquote(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::string_view PreferredEnding(const std::vector<Line>& lines) {
  for (const Line& line : lines) {
    if (!line.Ending.empty()) return line.Ending;
  }
  return "\r\n";
}

}  // namespace

std::optional<std::string> IniLookup(std::string_view content, std::string_view section,
                                     std::string_view key) {
  bool inSection = false;
  for (const Line& line : SplitLines(content)) {
    if (auto name = SectionName(line.Text)) {
      inSection = SameName(*name, section);
      continue;
    }
    if (inSection && IsKeyLine(line.Text, key)) {
      std::string_view value = Unquote(Trim(line.Text.substr(line.Text.find('=') + 1)));
      return std::string(value.substr(0, kProfileValueLimit));
    }
  }
  return std::nullopt;
}

namespace {

std::uint64_t KeyHash(std::string_view lowerKey) {
  std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
  for (char c : lowerKey) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

std::string_view RecordKey(const IniTable& table, std::uint32_t slot) {
  const std::string_view record = std::string_view(table.Records).substr(slot - 1);
  return record.substr(0, record.find('='));
}

std::string_view RecordValue(const IniTable& table, std::uint32_t slot) {
  const std::string_view record = std::string_view(table.Records).substr(slot - 1);
  const std::size_t equals = record.find('=');
  return record.substr(equals + 1, record.find('\n') - equals - 1);
}

// Index of the slot that holds lowerKey, or of the free slot where it belongs.
std::size_t SlotOf(const IniTable& table, std::string_view lowerKey) {
  const std::size_t mask = table.Slots.size() - 1;
  for (std::size_t i = KeyHash(lowerKey) & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = table.Slots[i];
    if (slot == 0 || RecordKey(table, slot) == lowerKey) return i;
  }
}

void Grow(IniTable& table) {
  std::vector<std::uint32_t> old = std::move(table.Slots);
  table.Slots.assign(old.empty() ? 16 : old.size() * 2, 0);
  for (std::uint32_t slot : old) {
    if (slot != 0) table.Slots[SlotOf(table, RecordKey(table, slot))] = slot;
  }
}

void LowerInto(std::string_view text, std::string& out) {
  out.clear();
  for (char c : text) out += Lower(c);
}

// The record's value as the file's line "key=value" reads.
std::string_view ReadValue(std::string_view raw) {
  return Unquote(Trim(raw)).substr(0, kProfileValueLimit);
}

// Adds lowerKey=value unless the key is there; replace sets the value either way.
void Put(IniTable& table, std::string_view lowerKey, std::string_view value, bool replace) {
  if (table.Slots.empty() || 2 * (table.Count + 1) > table.Slots.size()) Grow(table);
  std::uint32_t& slot = table.Slots[SlotOf(table, lowerKey)];
  if (slot != 0 && !replace) return;
  const std::size_t offset = table.Records.size();
  if (offset + lowerKey.size() + value.size() + 2 >= UINT32_MAX) return;  // past 4 GB: not kept
  table.Records.append(lowerKey);
  table.Records += '=';
  table.Records.append(value);
  table.Records += '\n';
  if (slot == 0) ++table.Count;
  slot = static_cast<std::uint32_t>(offset + 1);
}

}  // namespace

IniTable IniParseSection(std::string_view content, std::string_view section) {
  IniTable table;
  std::string key;
  bool inSection = false;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view text = content.substr(start, end - start);
    start = end + 1;
    if (auto name = SectionName(text)) {
      inSection = SameName(*name, section);
      continue;
    }
    const std::size_t equals = text.find('=');
    if (!inSection || equals == std::string_view::npos) continue;
    LowerInto(Trim(text.substr(0, equals)), key);
    Put(table, key, ReadValue(text.substr(equals + 1)), false);
  }
  return table;
}

std::optional<std::string_view> IniTableLookup(const IniTable& table, std::string_view key) {
  if (table.Slots.empty()) return std::nullopt;
  std::string lowerKey;
  LowerInto(key, lowerKey);
  const std::uint32_t slot = table.Slots[SlotOf(table, lowerKey)];
  if (slot == 0) return std::nullopt;
  return RecordValue(table, slot);
}

bool IniTableAssign(IniTable& table, std::string_view key, std::string_view value) {
  if (key.find_first_of("=\r\n") != std::string_view::npos || Trim(key) != key ||
      value.find_first_of("\r\n") != std::string_view::npos) {
    return false;
  }
  std::string lowerKey;
  LowerInto(key, lowerKey);
  Put(table, lowerKey, ReadValue(value), true);
  return true;
}

std::string IniAssign(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
  const std::vector<Line> lines = SplitLines(content);
  const std::string_view eol = PreferredEnding(lines);
  std::string entry(key);
  entry += '=';
  entry += value;

  std::string out;
  bool inSection = false;
  bool done = false;
  std::size_t lastInSection = 0;  // index after the last non-blank line of the section
  bool sectionSeen = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (auto name = SectionName(lines[i].Text)) {
      inSection = SameName(*name, section) && !done;
      if (inSection) {
        sectionSeen = true;
        lastInSection = i + 1;
      }
    } else if (inSection && !done && IsKeyLine(lines[i].Text, key)) {
      done = true;
      inSection = false;
      out += entry;
      out += lines[i].Ending.empty() ? std::string() : std::string(lines[i].Ending);
      continue;
    } else if (inSection && !Trim(lines[i].Text).empty()) {
      lastInSection = i + 1;
    }
    out += lines[i].Text;
    out += lines[i].Ending;
  }
  if (done) return out;

  if (sectionSeen) {
    // Rebuild with the new key after the section's last non-blank line.
    std::string rebuilt;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      rebuilt += lines[i].Text;
      rebuilt += lines[i].Ending.empty() && i + 1 == lastInSection ? eol : lines[i].Ending;
      if (i + 1 == lastInSection) {
        rebuilt += entry;
        rebuilt += eol;
      }
    }
    return rebuilt;
  }

  if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += eol;
  out += '[';
  out += section;
  out += ']';
  out += eol;
  out += entry;
  out += eol;
  return out;
}

}  // namespace zandrell::platform
