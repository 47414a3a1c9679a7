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

std::string IniSectionText(std::string_view content, std::string_view section) {
  std::string out = "[";
  out += section;
  out += "]\r\n";
  bool inSection = false;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = content.size();
    const std::string_view text = content.substr(start, end - start);
    if (auto name = SectionName(text)) {
      inSection = SameName(*name, section);
    } else if (inSection) {
      out += text;
      out += "\r\n";
    }
    start = end + 1;
  }
  return out;
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
