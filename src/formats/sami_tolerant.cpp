// SAMI as other programs write it: SYNC tags in any spelling, text on the lines after the
// tags, P tags with classes, "&nbsp;" blocks that end frames, comments and entities. The
// line rules of sami.cpp read the files this program writes; this reader takes the files
// in which those rules find no frame.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "formats/format_parts.h"

namespace lumetra {

namespace {

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view TrimBlanks(std::string_view s) {
  const std::size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// The value of the attribute `name` (lower case) inside a tag's text, with blanks allowed
// around "=" and the value in quotes or not; nothing when the tag has no such attribute.
std::optional<std::string_view> AttributeValue(std::string_view tag, std::string_view name) {
  for (std::size_t at = 0; at + name.size() <= tag.size(); ++at) {
    if (at > 0 && !IsBlank(tag[at - 1])) continue;
    if (!StartsWithAnyCase(tag.substr(at), name)) continue;
    std::size_t i = at + name.size();
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    if (i >= tag.size() || tag[i] != '=') continue;
    ++i;
    while (i < tag.size() && IsBlank(tag[i])) ++i;
    if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
      const char quote = tag[i++];
      const std::size_t close = tag.find(quote, i);
      return tag.substr(i, close == std::string_view::npos ? close : close - i);
    }
    std::size_t end = i;
    while (end < tag.size() && !IsBlank(tag[end]) && tag[end] != '>') ++end;
    return tag.substr(i, end - i);
  }
  return std::nullopt;
}

// The time of a SYNC tag: the digits at the start of its Start value ("2Lorem" gives 2);
// nothing when there are none or they do not fit a time.
std::optional<TimeValue> SyncTime(std::string_view tag) {
  const std::optional<std::string_view> value = AttributeValue(tag, "start");
  if (!value || value->empty() || !IsDigit(value->front())) return std::nullopt;
  std::int64_t time = 0;
  for (char c : *value) {
    if (!IsDigit(c)) break;
    time = time * 10 + (c - '0');
    if (time > INT32_MAX) return std::nullopt;
  }
  return static_cast<TimeValue>(time);
}

// The character of an entity (its text from "&" to ";") in the page: appended to `out`,
// returning true; false when it is no entity named here or the page cannot hold it.
bool AppendEntity(std::string& out, std::string_view entity, CodePage page) {
  static constexpr std::pair<std::string_view, char32_t> kNamed[] = {
      {"&nbsp;", 0xA0}, {"&amp;", '&'},  {"&lt;", '<'},
      {"&gt;", '>'},    {"&quot;", '"'}, {"&apos;", '\''},
  };
  char32_t code_point = 0;
  bool known = false;
  for (const auto& [name, value] : kNamed) {
    if (entity == name) {
      code_point = value;
      known = true;
    }
  }
  if (!known && entity.size() > 3 && entity[1] == '#') {
    const bool hex = entity[2] == 'x' || entity[2] == 'X';
    const std::string_view digits = entity.substr(hex ? 3 : 2, entity.size() - (hex ? 4 : 3));
    if (digits.empty() || digits.size() > 8) return false;
    for (char c : digits) {
      int digit;
      if (IsDigit(c)) {
        digit = c - '0';
      } else if (hex && LowerAscii(c) >= 'a' && LowerAscii(c) <= 'f') {
        digit = LowerAscii(c) - 'a' + 10;
      } else {
        return false;
      }
      code_point = code_point * (hex ? 16 : 10) + static_cast<char32_t>(digit);
    }
    known = true;
  }
  // Control characters would break the lines of a frame; they stay as written.
  if (!known || code_point < 0x20 || (code_point >= 0x7F && code_point <= 0x9F)) return false;
  return AppendInCodePage(out, code_point, page);
}

// A line of a block with its entities replaced.
std::string ReplaceEntities(std::string_view line, CodePage page) {
  std::string out;
  out.reserve(line.size());
  std::size_t i = 0;
  while (i < line.size()) {
    const std::size_t amp = line.find('&', i);
    if (amp == std::string_view::npos) break;
    out.append(line.substr(i, amp - i));
    const std::size_t semicolon = line.find(';', amp);
    // Entities are short; a ";" far away belongs to other text.
    if (semicolon != std::string_view::npos && semicolon - amp <= 12 &&
        AppendEntity(out, line.substr(amp, semicolon - amp + 1), page)) {
      i = semicolon + 1;
    } else {
      out += '&';
      i = amp + 1;
    }
  }
  out.append(line.substr(i));
  return out;
}

// Whether a line holds nothing but blanks and "&nbsp;".
bool IsClearLine(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') {
      ++i;
    } else if (line.substr(i).starts_with("&nbsp;")) {
      i += 6;
    } else {
      return false;
    }
  }
  return true;
}

// One SYNC block: its time, the class of its first P tag, and its lines as written
// (tags other than the kept ones removed).
struct Block {
  std::optional<TimeValue> time;
  bool has_class = false;
  std::string class_name;
  std::vector<std::string> lines{std::string()};
};

class TolerantSami {
 public:
  TolerantSami(FrameSink& sink, CodePage page) : sink_(sink), page_(page) {}

  void Read(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
      const std::size_t lt = text.find('<', i);
      const std::size_t stop = lt == std::string_view::npos ? text.size() : lt;
      AppendText(text.substr(i, stop - i));
      if (lt == std::string_view::npos) break;
      i = Markup(text, lt);
      if (body_ended_) break;
    }
    FinishBlock();
  }

  TolerantSamiResult result() const { return result_; }

 private:
  // The markup that begins with the "<" at `lt`; returns where the text goes on.
  std::size_t Markup(std::string_view text, std::size_t lt) {
    const std::string_view rest = text.substr(lt);
    // Comments, also in the malformed "<-- ... -->" form. One that never ends hides the
    // rest of its line only.
    if (rest.starts_with("<!--") || rest.starts_with("<--")) {
      const std::size_t close = text.find("-->", lt);
      if (close != std::string_view::npos) return close + 3;
      const std::size_t line_end = text.find_first_of("\r\n", lt);
      return line_end == std::string_view::npos ? text.size() : line_end;
    }
    if (rest.size() < 2 || !(IsLetter(rest[1]) || rest[1] == '/' || rest[1] == '!')) {
      AppendText("<");  // a "<" that opens no tag is text
      return lt + 1;
    }
    // A tag runs to its ">", or up to the next "<" when its ">" is missing.
    const std::size_t end = text.find_first_of("<>", lt + 1);
    const std::size_t after = end == std::string_view::npos ? text.size()
                              : text[end] == '>'            ? end + 1
                                                            : end;
    const std::size_t inside_end = end == std::string_view::npos ? text.size() : end;
    Tag(text.substr(lt, after - lt), text.substr(lt + 1, inside_end - lt - 1));
    return after;
  }

  void Tag(std::string_view whole, std::string_view inside) {
    std::size_t name_end = inside.starts_with('/') ? 1 : 0;
    while (name_end < inside.size() && (IsLetter(inside[name_end]) || IsDigit(inside[name_end]))) {
      ++name_end;
    }
    std::string name;
    for (char c : inside.substr(0, name_end)) name += LowerAscii(c);

    if (name == "sync") {
      FinishBlock();
      block_ = Block();
      block_->time = SyncTime(inside.substr(name_end));
      return;
    }
    if (name == "/body") {
      body_ended_ = true;
      return;
    }
    if (!block_) return;  // the head
    if (name == "br") {
      block_->lines.emplace_back();
    } else if (name == "i" || name == "b" || name == "u" || name == "/i" || name == "/b" ||
               name == "/u") {
      AppendText(whole);  // a tag without its ">" may run over line ends
    } else if (name == "p" && !block_->has_class) {
      if (const auto value = AttributeValue(inside.substr(name_end), "class")) {
        block_->has_class = true;
        block_->class_name = std::string(*value);
      }
    }
  }

  // Text between tags: line ends inside a block are spaces.
  void AppendText(std::string_view text) {
    if (!block_ || text.empty()) return;
    std::string& line = block_->lines.back();
    while (!text.empty()) {
      const std::size_t end = text.find_first_of("\r\n");
      line.append(text.substr(0, end));
      if (end == std::string_view::npos) break;
      if (line.empty() || line.back() != ' ') line += ' ';  // CR LF is one space
      text.remove_prefix(end + 1);
    }
  }

  // Whether a block of this class is read; other classes are noted as left out.
  bool ClassIsRead(const Block& block) {
    if (!block.has_class) return true;
    if (!result_.class_read) {
      result_.class_read = block.class_name;
      return true;
    }
    if (EqualsAnyCase(block.class_name, *result_.class_read)) return true;
    for (const std::string& left_out : result_.classes_left_out) {
      if (EqualsAnyCase(left_out, block.class_name)) return false;
    }
    result_.classes_left_out.push_back(block.class_name);
    return false;
  }

  void FinishBlock() {
    if (!block_) return;
    Block block = std::move(*block_);
    block_.reset();
    if (!block.time || !ClassIsRead(block)) return;

    std::vector<std::string_view> lines;
    for (const std::string& line : block.lines) lines.push_back(TrimBlanks(line));
    // Empty lines at either end of a block show nothing.
    while (!lines.empty() && lines.back().empty()) lines.pop_back();
    std::size_t first = 0;
    while (first < lines.size() && lines[first].empty()) ++first;

    bool clear = true;
    for (std::size_t k = first; k < lines.size(); ++k) clear = clear && IsClearLine(lines[k]);
    if (open_) {
      sink_.doc().FrameEnd[sink_.doc().FrameCount] = *block.time;
      open_ = false;
    }
    if (clear) return;
    if (sink_.Full()) {
      sink_.LeaveOut();  // beyond the store: counted, not built
      return;
    }

    std::string frame_text;
    for (std::size_t k = first; k < lines.size(); ++k) {
      if (k > first) frame_text += '|';
      AppendLineText(frame_text, ReplaceEntities(lines[k], page_));
    }
    open_ = sink_.Add(*block.time, 0, std::move(frame_text));
  }

  FrameSink& sink_;
  CodePage page_;
  std::optional<Block> block_;  // the block being read; none in the head
  bool open_ = false;           // the last stored frame waits for its end
  bool body_ended_ = false;
  TolerantSamiResult result_;
};

}  // namespace

bool HoldsSyncTag(std::string_view text) {
  for (std::size_t at = text.find('<'); at != std::string_view::npos; at = text.find('<', at + 1)) {
    if (StartsWithAnyCase(text.substr(at), "<sync") &&
        (at + 5 == text.size() || !(IsLetter(text[at + 5]) || IsDigit(text[at + 5])))) {
      return true;
    }
  }
  return false;
}

TolerantSamiResult ReadSamiTolerant(std::string_view text, FrameSink& sink, CodePage page) {
  TolerantSami reader(sink, page);
  reader.Read(text);
  return reader.result();
}

}  // namespace lumetra
