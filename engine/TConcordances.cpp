#include "TConcordances.h"

#include <bitset>

namespace {

void UpperAscii(std::string& s) {
  for (char& c : s)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
}

bool IsDigit(unsigned char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

void TConcordances::RemoveBlanks(std::string& s) {
  std::string r;
  r.reserve(s.size());
  for (char c : s)
    if (c != ' ') r.push_back(c);
  s.swap(r);
}

bool TConcordances::Matches(const std::string& pattern, std::string_view value) const {
  if (KeepSpaces && CaseSensitive) {
    return UseWildcards ? WildcardMatch(pattern, value) : pattern == value;
  }
  std::string p = pattern, v(value);
  if (!KeepSpaces) {
    RemoveBlanks(p);
    RemoveBlanks(v);
  }
  if (!CaseSensitive) {
    UpperAscii(p);
    UpperAscii(v);
  }
  return UseWildcards ? WildcardMatch(p, v) : p == v;
}

bool TConcordances::WildcardMatch(const std::string& pattern, std::string_view value) {
  const size_t plen = pattern.size(), vlen = value.size();
  size_t k = 0;  // pattern position
  size_t j = 0;  // value characters consumed
  bool result = true;

  bool inSet = false, negate = false, rangePending = false, haveLast = false;
  unsigned char last = 0;
  std::bitset<256> set;

  auto consume = [&](unsigned char& c) {
    if (j >= vlen) return false;
    c = static_cast<unsigned char>(value[j++]);
    return true;
  };

  while (k < plen && result) {
    const unsigned char x = static_cast<unsigned char>(pattern[k]);
    if (inSet) {
      if (x == ']') {
        inSet = false;
        continue;  // read this "]" again outside the set
      } else if (x == '-' && haveLast) {
        rangePending = true;
      } else if (x == '!' && !haveLast) {
        negate = true;
      } else if (rangePending) {
        for (unsigned c = last + 1u; c <= x; ++c) set.set(c);
        rangePending = false;
      } else {
        last = x;
        haveLast = true;
        set.set(x);
      }
      ++k;
      continue;
    }

    unsigned char c = 0;
    switch (x) {
      case '*': {
        size_t e = k + 1;
        while (e < plen && (pattern[e] == '*' || pattern[e] == '?')) ++e;
        const size_t m = e - k - 1;
        if (e >= plen) {
          result = vlen - j >= m;
          j = vlen;
          k = e;
          continue;
        }
        const unsigned char d = static_cast<unsigned char>(pattern[e]);
        size_t skipped = 0;
        if (d == '#') {
          // Skip digits, then consume the first non-digit.
          while (j < vlen && IsDigit(static_cast<unsigned char>(value[j]))) {
            ++j;
            ++skipped;
          }
          result = j < vlen && skipped >= m;
          if (j < vlen) ++j;
        } else {
          size_t f = value.find(static_cast<char>(d), j);
          if (f == std::string_view::npos) {
            result = false;
          } else {
            skipped = f - j;
            j = f + 1;
            result = skipped >= m;
          }
        }
        k = e;  // moves past d below
        break;
      }
      case '?':
        result = consume(c);
        break;
      case '#':
        result = consume(c) && IsDigit(c);
        break;
      case '[':
        set.reset();
        inSet = true;
        negate = false;
        rangePending = false;
        haveLast = false;
        last = 0;
        break;
      case ']':
        result = consume(c) && (set.test(c) != negate);
        break;
      default:
        result = consume(c) && c == x;
        break;
    }
    ++k;
  }
  return result && j == vlen;
}
