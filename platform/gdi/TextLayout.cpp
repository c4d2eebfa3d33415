#include "gdi/TextLayout.h"

#include <algorithm>

#include "gdi/TextRun.h"

namespace gdi {

namespace {

constexpr std::u16string_view kEllipsis = u"...";

struct Paragraph {
  std::u16string text;
  int underlined = -1;
};

bool isBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Takes the '&' prefixes out: "&&" is one '&', "&x" underlines x.
Paragraph stripPrefixes(std::u16string_view text, bool prefixes) {
  Paragraph p;
  if (!prefixes) {
    p.text = text;
    return p;
  }
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      p.text.push_back(text[i]);
      continue;
    }
    if (i + 1 >= text.size()) break;
    ++i;
    if (text[i] != u'&') p.underlined = static_cast<int>(p.text.size());
    p.text.push_back(text[i]);
  }
  return p;
}

std::vector<std::u16string_view> splitParagraphs(std::u16string_view text, bool singleLine) {
  std::vector<std::u16string_view> out;
  if (singleLine) {
    out.push_back(text);
    return out;
  }
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

class LineBuilder {
 public:
  LineBuilder(const Font& font, UINT format, int maxWidth, int tabChars)
      : font_(font), format_(format), maxWidth_(maxWidth) {
    if (tabChars <= 0) tabChars = kDefaultTabChars;
    tabWidth_ = std::max(1, tabChars * font.metrics().aveCharWidth);
  }

  // The advances of a line's units, tabs stopping relative to its start.
  std::vector<int> advances(std::u16string_view text) const {
    std::vector<int> out = textAdvances(font_, text);
    if (!(format_ & DT_EXPANDTABS)) return out;
    long long pen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\t') out[i] = static_cast<int>((pen / tabWidth_ + 1) * tabWidth_ - pen);
      pen += out[i];
    }
    return out;
  }

  TextLine line(std::u16string_view text, int underlined) const {
    TextLine l;
    l.text = text;
    l.advances = advances(text);
    long long width = 0;
    for (int a : l.advances) width += a;
    l.width = clampCoord(width);
    l.underlined = underlined >= 0 && underlined < static_cast<int>(text.size()) ? underlined : -1;
    return l;
  }

  // Greedy breaking at blanks (see lineEnd).
  void wrap(const Paragraph& p, std::vector<TextLine>& out) const {
    std::u16string_view text = p.text;
    std::vector<int> base = textAdvances(font_, text);
    size_t start = 0;
    while (true) {
      size_t end = lineEnd(text, base, start);
      out.push_back(line(text.substr(start, end - start), p.underlined - static_cast<int>(start)));
      size_t next = end;
      while (next < text.size() && isBlank(text[next])) ++next;
      if (next >= text.size()) return;
      start = next;
    }
  }

  void cutWithEllipsis(TextLine& l) const {
    if (l.width <= maxWidth_) return;
    int ellipsis = textWidth(font_, kEllipsis);
    size_t keep = 0;
    int width = 0;
    while (keep < l.text.size()) {
      size_t next = keep + 1;
      if (next < l.text.size() && l.text[next] >= 0xDC00 && l.text[next] <= 0xDFFF) ++next;
      int grown = width;
      for (size_t k = keep; k < next; ++k) grown += l.advances[k];
      if (grown + ellipsis > maxWidth_) break;
      width = grown;
      keep = next;
    }
    std::u16string cut = l.text.substr(0, keep);
    cut += kEllipsis;
    int underlined = l.underlined < static_cast<int>(keep) ? l.underlined : -1;
    l = line(cut, underlined);
  }

 private:
  // The advance of text[i] with the pen at pen: a tab reaches the next stop.
  long long advanceAt(std::u16string_view text, const std::vector<int>& base, size_t i, long long pen) const {
    if (text[i] == u'\t' && (format_ & DT_EXPANDTABS)) return (pen / tabWidth_ + 1) * tabWidth_ - pen;
    return base[i];
  }

  // Where the line starting at start ends: after the last word that fits,
  // blanks before the break not counted. A word wider than the line stays
  // whole, or with DT_EDITCONTROL is broken after its last unit that fits.
  size_t lineEnd(std::u16string_view text, const std::vector<int>& base, size_t start) const {
    long long pen = 0;
    size_t lastFit = start;  // end of the last word that fitted
    bool haveWord = false;
    size_t i = start;
    while (i < text.size()) {
      while (i < text.size() && isBlank(text[i])) pen += advanceAt(text, base, i++, pen);
      if (i >= text.size()) break;
      size_t wordEnd = i;
      long long wordPen = pen;
      while (wordEnd < text.size() && !isBlank(text[wordEnd]) && wordPen <= maxWidth_) wordPen += base[wordEnd++];
      while (wordEnd < text.size() && !isBlank(text[wordEnd])) ++wordEnd;
      if (wordPen > maxWidth_) {
        if (haveWord) return lastFit;
        if (format_ & DT_EDITCONTROL) return breakInside(text, base, i, pen);
      }
      haveWord = true;
      lastFit = wordEnd;
      pen = wordPen;
      i = wordEnd;
    }
    return haveWord ? lastFit : text.size();
  }

  // The end of the longest part of the word at i that fits from pen on; at
  // least one character, never half of a surrogate pair.
  size_t breakInside(std::u16string_view text, const std::vector<int>& base, size_t i, long long pen) const {
    size_t end = i;
    while (end < text.size() && !isBlank(text[end])) {
      size_t next = end + 1;
      if (next < text.size() && text[next] >= 0xDC00 && text[next] <= 0xDFFF) ++next;
      long long grown = pen;
      for (size_t k = end; k < next; ++k) grown += base[k];
      if (grown > maxWidth_ && end > i) break;
      pen = grown;
      end = next;
    }
    return end;
  }

  const Font& font_;
  UINT format_;
  int maxWidth_;
  int tabWidth_ = 1;
};

}  // namespace

TextLayout layoutText(const Font& font, std::u16string_view text, UINT format, int maxWidth, int tabChars) {
  TextLayout layout;
  layout.lineHeight = font.height() + ((format & DT_EXTERNALLEADING) ? font.metrics().externalLeading : 0);
  if (text.empty()) return layout;
  bool singleLine = (format & DT_SINGLELINE) != 0;
  bool wordBreak = !singleLine && (format & DT_WORDBREAK);
  LineBuilder builder(font, format, maxWidth, tabChars);
  for (std::u16string_view part : splitParagraphs(text, singleLine)) {
    std::u16string flat;
    if (singleLine) {
      for (char16_t c : part)
        if (c != u'\r' && c != u'\n') flat.push_back(c);
      part = flat;
    }
    Paragraph p = stripPrefixes(part, !(format & DT_NOPREFIX));
    if (wordBreak)
      builder.wrap(p, layout.lines);
    else
      layout.lines.push_back(builder.line(p.text, p.underlined));
  }
  for (TextLine& l : layout.lines) {
    if (format & DT_END_ELLIPSIS) builder.cutWithEllipsis(l);
    layout.width = std::max(layout.width, l.width);
  }
  return layout;
}

}  // namespace gdi
