#include "device/Script.h"

#include <windows.h>

#include <charconv>

#include "kernel/Utf.h"

namespace device {

namespace {

constexpr int kMaxCoordinate = 100000;
constexpr const char* kModifierNames = "Shift, Ctrl or Ctrl+Shift";
constexpr int kMaxWaitMs = 3600 * 1000;

struct Token {
  bool quoted = false;
  std::string raw;       // unquoted: the bytes as written
  std::u16string text;   // quoted: the decoded text
};

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text starting after its opening quote; pos ends after the
// closing quote.
bool readQuoted(std::string_view line, size_t& pos, std::u16string& out, std::string& reason) {
  std::string pending;  // raw UTF-8 between escapes
  auto flush = [&]() {
    auto decoded = kernel::utf8ToUtf16Strict(pending);
    pending.clear();
    if (!decoded) {
      reason = "text is not valid UTF-8";
      return false;
    }
    out += *decoded;
    return true;
  };
  while (pos < line.size()) {
    char c = line[pos++];
    if (c == '"') {
      if (!flush()) return false;
      for (size_t i = 0; i < out.size(); ++i) {
        char16_t u = out[i];
        bool high = u >= 0xD800 && u <= 0xDBFF;
        bool low = u >= 0xDC00 && u <= 0xDFFF;
        if (high && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF) {
          ++i;
        } else if (high || low) {
          reason = "text holds a lone surrogate";
          return false;
        }
        if (u == 0) {
          reason = "text holds a NUL character";
          return false;
        }
      }
      return true;
    }
    if (c != '\\') {
      pending.push_back(c);
      continue;
    }
    if (!flush()) return false;
    if (pos >= line.size()) break;
    char e = line[pos++];
    int digits = 0;
    switch (e) {
      case '"': out.push_back(u'"'); break;
      case '\\': out.push_back(u'\\'); break;
      case 'n': out.push_back(u'\n'); break;
      case 't': out.push_back(u'\t'); break;
      case 'x': digits = 2; break;
      case 'u': digits = 4; break;
      default:
        reason = std::string("unknown escape \\") + e;
        return false;
    }
    if (digits) {
      uint32_t value = 0;
      for (int k = 0; k < digits; ++k) {
        int h = pos < line.size() ? hexValue(line[pos]) : -1;
        if (h < 0) {
          reason = std::string("\\") + e + " needs " + std::to_string(digits) + " hex digits";
          return false;
        }
        value = value * 16 + h;
        ++pos;
      }
      out.push_back(static_cast<char16_t>(value));
    }
  }
  reason = "unterminated text";
  return false;
}

bool tokenize(std::string_view line, std::vector<Token>& tokens, std::string& reason) {
  size_t pos = 0;
  while (true) {
    while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
    if (pos >= line.size() || line[pos] == '#') return true;
    Token token;
    if (line[pos] == '"') {
      ++pos;
      token.quoted = true;
      if (!readQuoted(line, pos, token.text, reason)) return false;
      if (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '#') {
        reason = "text must be followed by a space";
        return false;
      }
    } else {
      size_t start = pos;
      while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t' && line[pos] != '#') {
        if (line[pos] == '"') {
          reason = "quote inside a word";
          return false;
        }
        ++pos;
      }
      token.raw = std::string(line.substr(start, pos - start));
    }
    tokens.push_back(std::move(token));
  }
}

struct KeyName {
  const char16_t* name;
  uint32_t vk;
};

constexpr KeyName kKeyNames[] = {
    {u"Up", VK_UP},         {u"Down", VK_DOWN},       {u"Left", VK_LEFT},     {u"Right", VK_RIGHT},
    {u"Enter", VK_RETURN},  {u"Escape", VK_ESCAPE},   {u"Tab", VK_TAB},       {u"Home", VK_HOME},
    {u"End", VK_END},       {u"PageUp", VK_PRIOR},    {u"PageDown", VK_NEXT}, {u"Delete", VK_DELETE},
    {u"Space", VK_SPACE},   {u"Backspace", VK_BACK},
};

class LineParser {
 public:
  LineParser(std::vector<Token> tokens, std::string& reason) : tokens_(std::move(tokens)), reason_(reason) {}

  bool parse(Step& step) {
    const std::string& verb = tokens_[0].raw;
    if (tokens_[0].quoted) return fail("a line starts with a step name");
    using K = Step::Kind;
    if (verb == "tap")
      return arity(2, true) && number(1, step.x1) && number(2, step.y1) && modifiers(3, step) &&
             kind(step, K::Tap);
    if (verb == "drag")
      return arity(4, true) && number(1, step.x1) && number(2, step.y1) && number(3, step.x2) && number(4, step.y2) &&
             modifiers(5, step) && kind(step, K::Drag);
    if (verb == "key") return arity(1) && keyName(step) && kind(step, K::Key);
    if (verb == "type") return arity(1) && text(1, step.text, true) && kind(step, K::Type);
    if (verb == "press") return arity(1) && text(1, step.text, false) && kind(step, K::Press);
    if (verb == "menu") return arity(2) && text(1, step.text, false) && text(2, step.item, false) && kind(step, K::Menu);
    if (verb == "sip") return arity(1) && onOff(step.on) && kind(step, K::Sip);
    if (verb == "rotate") return arity(0) && kind(step, K::Rotate);
    if (verb == "wait") return arity(1) && waitTime(step.ms) && kind(step, K::Wait);
    if (verb == "screenshot") return arity(1) && fileName(step.file) && kind(step, K::Screenshot);
    if (verb == "dump") return arity(1) && fileName(step.file) && kind(step, K::Dump);
    if (verb == "close") return arity(0) && kind(step, K::Close);
    return fail("unknown step \"" + verb + "\"");
  }

 private:
  bool fail(std::string reason) {
    reason_ = std::move(reason);
    return false;
  }
  static bool kind(Step& step, Step::Kind k) {
    step.kind = k;
    return true;
  }
  // n arguments, and the modifiers after them when the step takes them.
  bool arity(size_t n, bool modifiable = false) {
    size_t given = tokens_.size() - 1;
    if (given == n || (modifiable && given == n + 1)) return true;
    const std::string& verb = tokens_[0].raw;
    if (given < n) return fail(verb + " needs " + std::to_string(n) + (n == 1 ? " argument" : " arguments"));
    std::string takes = verb + " takes " + (n == 0 ? std::string("no") : std::to_string(n)) +
                        (n == 1 ? " argument" : " arguments");
    if (modifiable) takes += std::string(" and its modifiers (") + kModifierNames + ")";
    return fail(takes);
  }
  // Shift or Ctrl; each may be given once.
  bool modifier(std::string_view word, bool& shift, bool& control) {
    std::string lower(word);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    bool* held = lower == "shift" ? &shift : lower == "ctrl" ? &control : nullptr;
    if (!held) return fail("\"" + std::string(word) + "\" is not a modifier: " + kModifierNames);
    if (*held) return fail(std::string(word) + " is given twice");
    *held = true;
    return true;
  }
  // The optional last argument of tap and drag: Shift, Ctrl or Ctrl+Shift.
  bool modifiers(size_t i, Step& step) {
    if (i >= tokens_.size()) return true;
    const Token& t = tokens_[i];
    if (t.quoted) return fail(std::string("expected modifiers (") + kModifierNames + "), not a text");
    std::string_view rest = t.raw;
    for (size_t plus; (plus = rest.find('+')) != std::string_view::npos; rest.remove_prefix(plus + 1))
      if (!modifier(rest.substr(0, plus), step.shift, step.control)) return false;
    return modifier(rest, step.shift, step.control);
  }
  bool number(size_t i, int& value) {
    const Token& t = tokens_[i];
    const char* end = t.raw.data() + t.raw.size();
    auto [ptr, ec] = std::from_chars(t.raw.data(), end, value);
    if (t.quoted || ec != std::errc() || ptr != end || value < -kMaxCoordinate || value > kMaxCoordinate)
      return fail("\"" + (t.quoted ? kernel::utf16ToUtf8(t.text) : t.raw) + "\" is not a coordinate");
    return true;
  }
  bool text(size_t i, std::u16string& out, bool mayBeEmpty) {
    const Token& t = tokens_[i];
    if (!t.quoted) return fail("expected a text in double quotes, not " + t.raw);
    if (!mayBeEmpty && t.text.empty()) return fail("the text is empty");
    out = t.text;
    return true;
  }
  bool fileName(std::string& out) {
    std::u16string name;
    if (!text(1, name, false)) return false;
    out = kernel::utf16ToUtf8(name);
    return true;
  }
  bool onOff(bool& on) {
    const Token& t = tokens_[1];
    if (!t.quoted && (t.raw == "on" || t.raw == "off")) {
      on = t.raw == "on";
      return true;
    }
    return fail("sip takes on or off");
  }
  bool waitTime(int& ms) {
    const Token& t = tokens_[1];
    const char* end = t.raw.data() + t.raw.size();
    auto [ptr, ec] = std::from_chars(t.raw.data(), end, ms);
    if (t.quoted || ec != std::errc() || ptr != end || ms < 0 || ms > kMaxWaitMs)
      return fail("wait takes milliseconds from 0 to " + std::to_string(kMaxWaitMs));
    return true;
  }
  bool keyName(Step& step) {
    const Token& t = tokens_[1];
    std::u16string name;
    if (t.quoted) {
      name = t.text;
    } else {
      auto decoded = kernel::utf8ToUtf16Strict(t.raw);
      if (!decoded) return fail("key name is not valid UTF-8");
      name = *decoded;
    }
    // Modifiers come first, each followed by '+'; a '+' that ends the name
    // is the key itself (Ctrl++).
    bool shift = false, control = false;
    for (size_t plus; (plus = name.find(u'+')) != std::u16string::npos && plus + 1 < name.size();
         name.erase(0, plus + 1))
      if (!modifier(kernel::utf16ToUtf8(name.substr(0, plus)), shift, control)) return false;
    if (!parseKeyName(name, step)) return fail("unknown key \"" + kernel::utf16ToUtf8(name) + "\"");
    step.shift = step.shift || shift;
    step.control = control;
    return true;
  }

  std::vector<Token> tokens_;
  std::string& reason_;
};

}  // namespace

bool parseKeyName(std::u16string_view name, Step& step) {
  step.key = 0;
  step.ch = 0;
  step.shift = false;
  for (const KeyName& k : kKeyNames) {
    if (name == k.name) {
      step.key = k.vk;
      return true;
    }
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == u'F') {
    int n = 0;
    for (char16_t c : name.substr(1)) {
      if (c < u'0' || c > u'9') return false;
      n = n * 10 + (c - u'0');
    }
    if (n < 1 || n > 12 || name[1] == u'0') return false;
    step.key = VK_F1 + (n - 1);
    return true;
  }
  if (name.size() != 1) return false;
  char16_t c = name[0];
  if (c >= u'0' && c <= u'9') {
    step.key = c;
  } else if (c >= u'A' && c <= u'Z') {
    step.key = c;
    step.shift = true;
  } else if (c >= u'a' && c <= u'z') {
    step.key = c - u'a' + u'A';
  } else if (c >= 0xD800 && c <= 0xDFFF) {
    return false;
  } else if (c > u' ' && c != 0x7F) {
    step.ch = c;
  } else {
    return false;
  }
  return true;
}

std::optional<std::vector<Step>> parseScript(std::string_view text, ScriptError& error) {
  std::vector<Step> steps;
  int lineNumber = 0;
  size_t pos = 0;
  while (pos < text.size()) {
    ++lineNumber;
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::vector<Token> tokens;
    std::string reason;
    if (!tokenize(line, tokens, reason)) {
      error = {lineNumber, reason};
      return std::nullopt;
    }
    if (tokens.empty()) continue;
    Step step;
    step.line = lineNumber;
    if (!LineParser(std::move(tokens), reason).parse(step)) {
      error = {lineNumber, reason};
      return std::nullopt;
    }
    steps.push_back(std::move(step));
  }
  return steps;
}

}  // namespace device
