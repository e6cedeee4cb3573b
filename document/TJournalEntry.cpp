#include "TJournalEntry.h"

#include <array>

namespace {

// Slice-by-8 tables of CRC-32C, reflected polynomial 0x82F63B78.
struct TCrcTables {
  std::array<std::array<uint32_t, 256>, 8> t;
  TCrcTables() {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0x82F63B78u & (0u - (c & 1u)));
      t[0][i] = c;
    }
    for (uint32_t i = 0; i < 256; ++i)
      for (size_t s = 1; s < 8; ++s) t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  }
};

const TCrcTables& Tables() {
  static const TCrcTables tables;
  return tables;
}

}  // namespace

uint32_t TJournalEntry::Checksum(std::string_view data, uint32_t crc) {
  const auto& t = Tables().t;
  const auto* p = reinterpret_cast<const unsigned char*>(data.data());
  size_t n = data.size();
  crc = ~crc;
  while (n >= 8) {
    const uint32_t lo =
        crc ^ (uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
    crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
          t[3][p[4]] ^ t[2][p[5]] ^ t[1][p[6]] ^ t[0][p[7]];
    p += 8;
    n -= 8;
  }
  while (n-- > 0) crc = (crc >> 8) ^ t[0][(crc ^ *p++) & 0xFF];
  return ~crc;
}

uint32_t TJournalEntry::ReadInt(const char* p) {
  const auto* u = reinterpret_cast<const unsigned char*>(p);
  return uint32_t{u[0]} | uint32_t{u[1]} << 8 | uint32_t{u[2]} << 16 | uint32_t{u[3]} << 24;
}

void TJournalEntry::PutInt(std::string& out, uint32_t v) {
  const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8),
                         static_cast<char>(v >> 16), static_cast<char>(v >> 24)};
  out.append(bytes, 4);
}

void TJournalEntry::PutText(std::string& out, std::string_view s) {
  PutInt(out, static_cast<uint32_t>(s.size()));
  out.append(s.data(), s.size());
}

void TJournalEntry::Frame(std::string& out, std::string_view payload) {
  const size_t start = out.size();
  PutInt(out, static_cast<uint32_t>(payload.size()));
  out.append(payload.data(), payload.size());
  PutInt(out, Checksum(std::string_view(out).substr(start)));
}

TJournalEntry::TJournalEntry(TJournalOp op, bool continued) {
  payload_.push_back(static_cast<char>(op));
  payload_.push_back(continued ? 1 : 0);
}

TJournalEntry& TJournalEntry::Byte(uint8_t v) {
  payload_.push_back(static_cast<char>(v));
  return *this;
}

TJournalEntry& TJournalEntry::Int(int32_t v) {
  PutInt(payload_, static_cast<uint32_t>(v));
  return *this;
}

TJournalEntry& TJournalEntry::Text(std::string_view s) {
  PutText(payload_, s);
  return *this;
}

TJournalEntry& TJournalEntry::Texts(const std::vector<std::string>& list) {
  PutInt(payload_, static_cast<uint32_t>(list.size()));
  for (const std::string& s : list) PutText(payload_, s);
  return *this;
}

std::string TJournalEntry::Framed() const {
  std::string out;
  out.reserve(payload_.size() + 8);
  Frame(out, payload_);
  return out;
}

// --- Reading ---

TJournalEntry::TReader::TReader(std::string_view payload) : data_(payload) {
  uint8_t op = 0, flags = 0;
  if (Byte(op) && Byte(flags)) {
    op_ = static_cast<TJournalOp>(op);
    continued_ = (flags & 1) != 0;
  }
}

bool TJournalEntry::TReader::Take(size_t n, const char*& p) {
  if (!ok_ || data_.size() - pos_ < n) return ok_ = false;
  p = data_.data() + pos_;
  pos_ += n;
  return true;
}

bool TJournalEntry::TReader::Byte(uint8_t& v) {
  const char* p;
  if (!Take(1, p)) return false;
  v = static_cast<uint8_t>(*p);
  return true;
}

bool TJournalEntry::TReader::Int(int32_t& v) {
  const char* p;
  if (!Take(4, p)) return false;
  v = static_cast<int32_t>(ReadInt(p));
  return true;
}

bool TJournalEntry::TReader::View(std::string_view& s) {
  const char* p;
  if (!Take(4, p)) return false;
  const uint32_t n = ReadInt(p);
  if (!Take(n, p)) return false;
  s = std::string_view(p, n);
  return true;
}

bool TJournalEntry::TReader::Text(std::string& s) {
  std::string_view v;
  if (!View(v)) return false;
  s.assign(v.data(), v.size());
  return true;
}

bool TJournalEntry::TReader::Texts(std::vector<std::string>& list) {
  int32_t n = 0;
  if (!Int(n) || n < 0) return ok_ = false;
  list.clear();
  // Each text takes at least its four length bytes: a count the payload
  // cannot hold is refused before anything is reserved.
  if (static_cast<size_t>(n) > (data_.size() - pos_) / 4) return ok_ = false;
  list.reserve(static_cast<size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    list.emplace_back();
    if (!Text(list.back())) return false;
  }
  return true;
}
