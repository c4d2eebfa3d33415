// Simple (one unit to one unit) case mappings of the Basic Multilingual
// Plane's alphabets: Latin, Greek, Cyrillic, Armenian, Georgian capitals,
// Latin Extended Additional, Greek Extended, circled and full-width letters.
// Characters without a simple mapping map to themselves.
#include <windows.h>

namespace {

// A run of capitals whose small letters lie at upper + delta. With step 2 the
// run alternates capital, small (the pairs of Latin Extended-A and Cyrillic).
struct CaseRange {
  char16_t first;
  char16_t last;
  int16_t delta;
  uint8_t step;
};

// Ordered by first; ranges do not overlap.
constexpr CaseRange kRanges[] = {
    {0x0041, 0x005A, 32, 1},   {0x00C0, 0x00D6, 32, 1},   {0x00D8, 0x00DE, 32, 1},
    {0x0100, 0x012E, 1, 2},    {0x0132, 0x0136, 1, 2},    {0x0139, 0x0147, 1, 2},
    {0x014A, 0x0176, 1, 2},    {0x0179, 0x017D, 1, 2},    {0x0182, 0x0184, 1, 2},
    {0x0187, 0x0187, 1, 1},    {0x018B, 0x018B, 1, 1},    {0x0191, 0x0191, 1, 1},
    {0x0198, 0x0198, 1, 1},    {0x01A0, 0x01A4, 1, 2},    {0x01A7, 0x01A7, 1, 1},
    {0x01AC, 0x01AC, 1, 1},    {0x01AF, 0x01AF, 1, 1},    {0x01B3, 0x01B5, 1, 2},
    {0x01B8, 0x01B8, 1, 1},    {0x01BC, 0x01BC, 1, 1},    {0x01CD, 0x01DB, 1, 2},
    {0x01DE, 0x01EE, 1, 2},    {0x01F4, 0x01F4, 1, 1},    {0x01F8, 0x021E, 1, 2},    {0x0222, 0x0232, 1, 2},
    {0x0386, 0x0386, 38, 1},   {0x0388, 0x038A, 37, 1},   {0x038C, 0x038C, 64, 1},
    {0x038E, 0x038F, 63, 1},   {0x0391, 0x03A1, 32, 1},   {0x03A3, 0x03AB, 32, 1},
    {0x03D8, 0x03EE, 1, 2},    {0x0400, 0x040F, 80, 1},   {0x0410, 0x042F, 32, 1},
    {0x0460, 0x0480, 1, 2},    {0x048A, 0x04BE, 1, 2},    {0x04C1, 0x04CD, 1, 2},
    {0x04D0, 0x04FE, 1, 2},    {0x0500, 0x052E, 1, 2},    {0x0531, 0x0556, 48, 1},
    {0x10A0, 0x10C5, 7264, 1}, {0x1E00, 0x1E94, 1, 2},    {0x1EA0, 0x1EFE, 1, 2},
    {0x1F08, 0x1F0F, -8, 1},   {0x1F18, 0x1F1D, -8, 1},   {0x1F28, 0x1F2F, -8, 1},
    {0x1F38, 0x1F3F, -8, 1},   {0x1F48, 0x1F4D, -8, 1},   {0x1F59, 0x1F5F, -8, 2},   {0x1F68, 0x1F6F, -8, 1},
    {0x24B6, 0x24CF, 26, 1},   {0x2C00, 0x2C2E, 48, 1},   {0xFF21, 0xFF3A, 32, 1},
};

bool inRun(const CaseRange& r, char16_t c) {
  return c >= r.first && c <= r.last && (c - r.first) % r.step == 0;
}

// Mappings outside every run, in one direction only: Ÿ and ÿ, dotted capital
// I, dotless small i, final sigma.
struct CasePair {
  char16_t from;
  char16_t to;
};
constexpr CasePair kExtraLower[] = {{0x0178, 0x00FF}, {0x0130, 0x0069}};
constexpr CasePair kExtraUpper[] = {{0x00FF, 0x0178}, {0x0131, 0x0049}, {0x03C2, 0x03A3}};

}  // namespace

WCHAR towlower(WCHAR c) {
  for (const CasePair& p : kExtraLower)
    if (c == p.from) return p.to;
  for (const CaseRange& r : kRanges)
    if (inRun(r, c)) return static_cast<WCHAR>(c + r.delta);
  return c;
}

WCHAR towupper(WCHAR c) {
  for (const CasePair& p : kExtraUpper)
    if (c == p.from) return p.to;
  for (const CaseRange& r : kRanges) {
    int upper = c - r.delta;
    if (upper >= 0 && upper <= 0xFFFF && inRun(r, static_cast<char16_t>(upper))) return static_cast<WCHAR>(upper);
  }
  return c;
}
