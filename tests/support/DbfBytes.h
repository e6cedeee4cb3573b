#pragma once
// Byte-by-byte builders of dBase tables and memo files for the tests, a
// temporary folder per test, and the text of a field as a reader reads it.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace dbftest {

struct FieldSpec {
  std::string name;
  char type;
  int length;
};

struct Row {
  std::vector<std::string> values;  // padded with spaces to the field length
  bool deleted = false;
};

inline void PutLe(std::string& s, size_t at, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) s[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

struct DbfLayout {
  unsigned char version = 3;
  std::vector<FieldSpec> fields;
  std::vector<Row> rows;
  bool terminator = true;     // the 0x0D after the descriptors
  size_t extraHeader = 0;     // bytes between the terminator and record 1
  int64_t recordCount = -1;   // stored count, -1 = number of rows
  int64_t headerLength = -1;  // stored H, -1 = computed
  int64_t recordLength = -1;  // stored L, -1 = computed

  std::string Bytes() const {
    int recLen = 1;
    for (const FieldSpec& f : fields) recLen += f.length;
    std::string s(32, '\0');
    s[0] = static_cast<char>(version);
    s[1] = 99, s[2] = 1, s[3] = 2;
    for (const FieldSpec& f : fields) {
      std::string d(32, '\0');
      d.replace(0, std::min<size_t>(f.name.size(), 11), f.name.substr(0, 11));
      d[11] = f.type;
      d[16] = static_cast<char>(f.length);
      s += d;
    }
    if (terminator) s += '\r';
    s += std::string(extraHeader, '\0');
    PutLe(s, 4, recordCount < 0 ? rows.size() : recordCount, 4);
    PutLe(s, 8, headerLength < 0 ? s.size() : headerLength, 2);
    PutLe(s, 10, recordLength < 0 ? recLen : recordLength, 2);
    for (const Row& r : rows) {
      s += r.deleted ? '*' : ' ';
      for (size_t i = 0; i < fields.size(); ++i) {
        std::string v = i < r.values.size() ? r.values[i] : "";
        v.resize(fields[i].length, ' ');
        s += v;
      }
    }
    s += '\x1A';
    return s;
  }
};

// A memo file of blockSize-byte blocks; block 0 is the header (next free block
// at 0, and the block size at 20 when dBaseIV is set).
struct DbtLayout {
  int blockSize = 512;
  bool dBaseIV = false;
  std::string body;  // everything from block 1 on

  // Text placed at the given block, padded up to that block's start.
  void Put(int block, const std::string& bytes) {
    size_t at = static_cast<size_t>(block - 1) * blockSize;
    if (body.size() < at + bytes.size()) body.resize(at + bytes.size(), '\0');
    body.replace(at, bytes.size(), bytes);
  }
  static std::string IIIText(const std::string& text) { return text + "\x1A\x1A"; }
  static std::string IVText(const std::string& text) {
    std::string s = std::string("\xFF\xFF\x08\x00", 4) + std::string(4, '\0') + text;
    PutLe(s, 4, text.size() + 8, 4);
    return s;
  }
  std::string Bytes() const {
    std::string s(blockSize, '\0');  // the header is block 0
    PutLe(s, 0, 1 + (body.size() + blockSize - 1) / blockSize, 4);
    if (dBaseIV) PutLe(s, 20, blockSize, 2);
    return s + body;
  }
};

// Field fieldNo of the reader's record (a TXBase), the read expected to succeed.
template <typename Reader>
std::string FieldText(Reader& reader, int fieldNo) {
  std::string text;
  EXPECT_TRUE(reader.GetField(fieldNo, text)) << "field " << fieldNo;
  return text;
}

class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vekdbf.XXXXXX").string();
    ASSERT_NE(mkdtemp(&pattern[0]), nullptr);
    dir_ = pattern;
  }
  void TearDown() override {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = dir_ + "/" + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), bytes.size());
    return path;
  }
  std::string dir_;
};

}  // namespace dbftest
