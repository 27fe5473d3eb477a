// The script cipher: key setup, keystream, headers, and the stream, block and file forms.
// The enciphered bytes were worked out from the algorithm by a separate implementation.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <string>

#include "container/hs_crypt.h"

namespace dorovev {

void PrintTo(const CryptRegisters& r, std::ostream* out) {
  *out << std::hex << "{A " << r.a << ", B " << r.b << ", C " << r.c << "}";
}

namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
constexpr auto kWeak = TEncryptionLevel::elWeak32bit;
constexpr auto kMedium = TEncryptionLevel::elMedium64bit;
constexpr auto kStrong = TEncryptionLevel::elStrong96bit;
constexpr TEncryptionLevel kLevels[] = {kWeak, kMedium, kStrong};

// A key outside Latin-1, with a surrogate pair: the high byte of each code unit overlaps
// the low byte of the one before it when the registers are packed.
constexpr const char16_t* kWideKey = u"\u0416\u0430\u0431\u0430 \U0001F600 key";

std::string from_hex(std::string_view hex) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<char>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return bytes;
}

std::string cipher(std::string bytes, std::u16string_view key, TEncryptionLevel level) {
  THSCrypt crypt;
  crypt.EncryptionLevel = level;
  crypt.Key = key;
  crypt.cipher_bytes(bytes);
  return bytes;
}

// Every byte value, then some text, so that a round trip covers them all.
std::string sample_bytes() {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes.push_back(static_cast<char>(i));
  return bytes + "Let>x=5\r\nMessage>%x%\r\n\0\0end"s;
}

TEST(CryptHeader, NamesTheLevel) {
  EXPECT_EQ(crypt_header(kWeak), "HSCRYPT32");
  EXPECT_EQ(crypt_header(kMedium), "HSCRYPT64");
  EXPECT_EQ(crypt_header(kStrong), "HSCRYPT96");
  for (const TEncryptionLevel level : kLevels) EXPECT_EQ(level_of_crypt_header(crypt_header(level)), level);
  for (const char* other : {"", "HSCRYPT", "HSCRYPT3", "HSCRYPT33", "hscrypt32", "HSCRYPT32 ", "XSCRYPT96"}) {
    EXPECT_EQ(level_of_crypt_header(other), std::nullopt) << other;
  }
}

TEST(CryptKeySetup, PacksTwelveCharactersIntoTheRegisters) {
  const struct {
    std::u16string_view key;
    TEncryptionLevel level;
    CryptRegisters registers;
  } cases[] = {
      // An empty key is one character of code 0: every register packs to zero and takes
      // its replacement; at level 0 B follows A, at level 1 C follows B.
      {u"", kWeak, {0x56056ECB, 0x56056ECB, 0xCCC54387}},
      {u"", kMedium, {0x56056ECB, 0x3336DED9, 0x3336DED9}},
      {u"", kStrong, {0x56056ECB, 0x3336DED9, 0xCCC54387}},
      {u"\0"sv, kStrong, {0x56056ECB, 0x3336DED9, 0xCCC54387}},
      // A short key is written out again from its first character.
      {u"abc", kWeak, {0x61626361, 0x61626361, 0x61626361}},
      {u"abc", kMedium, {0x61626361, 0x62636162, 0x62636162}},
      {u"abc", kStrong, {0x61626361, 0x62636162, 0x63616263}},
      {u"abcabcabcabc", kStrong, {0x61626361, 0x62636162, 0x63616263}},
      // Characters after the twelfth are not used.
      {u"abcdefghijklmno", kStrong, {0x61626364, 0x65666768, 0x696A6B6C}},
      {u"abcdefghijkl", kStrong, {0x61626364, 0x65666768, 0x696A6B6C}},
      {kWideKey, kWeak, {0x16343530, 0x16343530, 0x16343530}},
      {kWideKey, kMedium, {0x16343530, 0xF8FF0020, 0xF8FF0020}},
      {kWideKey, kStrong, {0x16343530, 0xF8FF0020, 0x6B657D16}},
      // Only the register that packed to zero is replaced.
      {u"\0\0\0\0abcd\0\0\0\0"sv, kStrong, {0x56056ECB, 0x61626364, 0xCCC54387}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(pack_crypt_key(c.key, c.level), c.registers) << "case " << (&c - cases);
  }
}

TEST(CryptKeySetup, ShortAndLongKeysActLikeTheirTwelveCharacters) {
  const std::string plain = sample_bytes();
  for (const TEncryptionLevel level : kLevels) {
    EXPECT_EQ(cipher(plain, u"abc", level), cipher(plain, u"abcabcabcabc", level));
    EXPECT_EQ(cipher(plain, u"Open sesame, now!", level), cipher(plain, u"Open sesame,", level));
    EXPECT_NE(cipher(plain, u"abc", level), cipher(plain, u"abd", level));
  }
}

TEST(CryptKeystream, KnownAnswers) {
  const struct {
    TEncryptionLevel level;
    const char16_t* key;
    std::string plain;
    const char* enciphered;  // hexadecimal
  } cases[] = {
      {kWeak, u"", "", ""},
      {kWeak, u"", "A", "e4"},
      {kWeak, u"", "Hello, World!", "ed67fce965be6af5e558c86e81"},
      {kWeak, u"abc", "A", "c5"},
      {kWeak, u"abc", "Hello, World!", "cce04e24fdbd3275fd5068cc8b"},
      {kWeak, kWideKey, "A", "4b"},
      {kWeak, kWideKey, "Hello, World!", "4267e46efb8e847525d83c7528"},
      {kMedium, u"", "", ""},
      {kMedium, u"", "A", "5e"},
      {kMedium, u"", "Hello, World!", "573c56bfc81b07beb6ec82db37"},
      {kMedium, u"abc", "A", "66"},
      {kMedium, u"abc", "Hello, World!", "6f4a134aa0e7ef38561dde9fc6"},
      {kMedium, kWideKey, "A", "40"},
      {kMedium, kWideKey, "Hello, World!", "49656e3aa23333be908d53939a"},
      {kStrong, u"", "", ""},
      {kStrong, u"", "A", "52"},
      {kStrong, u"", "Hello, World!", "5b1ba79fd6d51ea9918b913d36"},
      {kStrong, u"abc", "A", "96"},
      {kStrong, u"abc", "Hello, World!", "9fb683b750e79720a19bb17fd8"},
      {kStrong, kWideKey, "A", "19"},
      {kStrong, kWideKey, "Hello, World!", "10e349c29cc5cdc0498ca79085"},
  };
  for (const auto& c : cases) {
    const std::string enciphered = cipher(c.plain, c.key, c.level);
    EXPECT_EQ(enciphered, from_hex(c.enciphered)) << "case " << (&c - cases);
    EXPECT_EQ(cipher(enciphered, c.key, c.level), c.plain) << "case " << (&c - cases);
  }
}

TEST(CryptKeystream, RunsOnAcrossPieces) {
  // 5000 bytes span three pieces of the stream forms; the bytes around the first piece
  // boundary and at the end show that the keystream does not restart.
  std::string plain;
  for (int i = 0; i < 5000; ++i) plain.push_back(static_cast<char>((i * 7 + 3) & 0xFF));
  const struct {
    TEncryptionLevel level;
    const char* around_boundary;  // bytes 2040 to 2055
    const char* last;             // the last eight bytes
  } cases[] = {
      {kWeak, "eac64b4aa34ff4d45240943abd8c677e", "2b1a8490d6ec08e0"},
      {kMedium, "a06d16ffd8fa2e8134ecfdf1e6df0bd3", "66bf2d25787fb146"},
      {kStrong, "a41c2f19d5155e9b3c2cc28f0838f4ca", "9845ee25b899be49"},
  };
  for (const auto& c : cases) {
    const std::string whole = cipher(plain, u"abc", c.level);
    EXPECT_EQ(whole.substr(2040, 16), from_hex(c.around_boundary));
    EXPECT_EQ(whole.substr(whole.size() - 8), from_hex(c.last));
    THSCrypt crypt;
    crypt.EncryptionLevel = c.level;
    crypt.Key = u"abc";
    EXPECT_EQ(encipher_block(crypt, plain), std::string(crypt_header(c.level)) + whole);
  }
}

TEST(CryptComponent, EveryOperationUsesUpTheKey) {
  THSCrypt crypt;
  crypt.EncryptionLevel = kStrong;
  crypt.Key = u"abc";
  std::string bytes = "A";
  crypt.cipher_bytes(bytes);
  EXPECT_EQ(bytes, from_hex("96"));
  EXPECT_TRUE(crypt.Key.empty());
  // Without a new key the next operation runs with the empty key.
  bytes = "A";
  crypt.cipher_bytes(bytes);
  EXPECT_EQ(bytes, from_hex("52"));

  crypt.Key = u"abc";
  encipher_block(crypt, "x");
  EXPECT_TRUE(crypt.Key.empty());
  crypt.Key = u"abc";
  decipher_block(crypt, "short");
  EXPECT_TRUE(crypt.Key.empty());
}

TEST(CryptBlock, RoundTripsAtEveryLevel) {
  const std::string plain = sample_bytes();
  for (const TEncryptionLevel level : kLevels) {
    for (const char16_t* key : {u"", u"abc", kWideKey}) {
      THSCrypt crypt;
      crypt.EncryptionLevel = level;
      crypt.Key = key;
      const std::string block = encipher_block(crypt, plain);
      ASSERT_EQ(block.size(), plain.size() + kCryptHeaderSize);
      EXPECT_EQ(block.substr(0, kCryptHeaderSize), crypt_header(level));
      EXPECT_EQ(block.substr(kCryptHeaderSize), cipher(plain, key, level));
      // The header decides the level, whatever was set before.
      for (const TEncryptionLevel before : kLevels) {
        crypt.EncryptionLevel = before;
        crypt.Key = key;
        EXPECT_EQ(decipher_block(crypt, block), plain);
        EXPECT_EQ(crypt.EncryptionLevel, level);
      }
    }
  }
}

TEST(CryptBlock, ContainerScriptWithTheContainerKey) {
  // A compiled macro's script: UTF-16LE with its byte-order mark, enciphered whole. The
  // bytes are pinned because compiled macros must stay readable by later runtimes.
  const std::string script = "\xFF\xFEL\0e\0t\0>\0"s;
  THSCrypt crypt;
  crypt.EncryptionLevel = kContainerLevel;
  crypt.Key = kContainerKey;
  const std::string block = encipher_block(crypt, script);
  EXPECT_EQ(block, "HSCRYPT96"s + from_hex("960dabb99bfc893f176c"));
  crypt.EncryptionLevel = kWeak;
  crypt.Key = kContainerKey;
  EXPECT_EQ(decipher_block(crypt, block), script);
}

TEST(CryptBlock, OtherHeadersKeepTheLevelAndAreDropped) {
  const std::string plain = "Hello, World!";
  for (const char* header : {"HSCRYPT33", "hscrypt96", "\0\0\0\0\0\0\0\0\0", "NOHEADER!"}) {
    for (const TEncryptionLevel level : kLevels) {
      THSCrypt crypt;
      crypt.EncryptionLevel = level;
      crypt.Key = u"abc";
      const std::string block = std::string(header, kCryptHeaderSize) + cipher(plain, u"abc", level);
      EXPECT_EQ(decipher_block(crypt, block), plain) << header;
      EXPECT_EQ(crypt.EncryptionLevel, level);
    }
  }
}

TEST(CryptBlock, TooShortForAHeaderIsAFailure) {
  for (const char* block : {"", "H", "HSCRYPT9"}) {
    THSCrypt crypt;
    crypt.EncryptionLevel = kMedium;
    EXPECT_EQ(decipher_block(crypt, block), std::nullopt) << block;
    EXPECT_EQ(crypt.EncryptionLevel, kMedium);
  }
  // A header alone is an enciphered empty text.
  THSCrypt crypt;
  EXPECT_EQ(decipher_block(crypt, "HSCRYPT64"), "");
  EXPECT_EQ(crypt.EncryptionLevel, kMedium);
}

TEST(CryptStream, ReadsFromTheCurrentPositionAndAppends) {
  THSCrypt crypt;
  crypt.EncryptionLevel = kMedium;
  crypt.Key = u"abc";
  std::istringstream source("prefix" + encipher_block(crypt, "Hello, World!"));
  source.seekg(6);
  std::ostringstream destination;
  destination << "kept:";
  crypt.Key = u"abc";
  EXPECT_TRUE(crypt.decipher_stream(source, destination));
  EXPECT_EQ(destination.str(), "kept:Hello, World!");
}

TEST(CryptStream, AFailingDestinationIsReported) {
  THSCrypt crypt;
  std::istringstream source("Hello, World!");
  std::ostringstream destination;
  destination.setstate(std::ios::badbit);
  EXPECT_FALSE(crypt.encipher_stream(source, destination));
  std::istringstream block("HSCRYPT32Hello, World!");
  EXPECT_FALSE(crypt.decipher_stream(block, destination));
}

// The file forms on real files in a folder of their own.
class CryptFileTest : public ::testing::Test {
 protected:
  CryptFileTest() {
    folder = std::filesystem::temp_directory_path() /
             ("dorovev_crypt_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
  }
  ~CryptFileTest() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  std::string read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path folder;
  THSCrypt crypt;
};

TEST_F(CryptFileTest, EnciphersAndDeciphersFiles) {
  std::string plain = sample_bytes();
  for (int i = 0; i < 20; ++i) plain += sample_bytes();  // several pieces
  // The paths hold characters outside the ANSI code pages.
  const auto source = folder / u"script \u0416\u20AC.scp";
  const auto enciphered = folder / u"enciphered.bin";
  const auto deciphered = folder / u"deciphered \u0416.scp";
  write(source, plain);
  for (const TEncryptionLevel level : kLevels) {
    crypt.EncryptionLevel = level;
    crypt.Key = kWideKey;
    ASSERT_TRUE(crypt.encipher_file(source, enciphered));
    const std::string block = read(enciphered);
    EXPECT_EQ(block.size(), plain.size() + kCryptHeaderSize);
    EXPECT_EQ(block.substr(0, kCryptHeaderSize), crypt_header(level));
    EXPECT_EQ(block.substr(kCryptHeaderSize), cipher(plain, kWideKey, level));

    write(deciphered, "an older, longer file that is replaced" + plain);
    crypt.EncryptionLevel = kWeak;
    crypt.Key = kWideKey;
    ASSERT_TRUE(crypt.decipher_file(enciphered, deciphered));
    EXPECT_EQ(read(deciphered), plain);
    EXPECT_EQ(crypt.EncryptionLevel, level);
  }
}

TEST_F(CryptFileTest, EmptyFiles) {
  const auto empty = folder / "empty";
  const auto enciphered = folder / "enciphered";
  const auto deciphered = folder / "deciphered";
  write(empty, "");
  crypt.EncryptionLevel = kStrong;
  ASSERT_TRUE(crypt.encipher_file(empty, enciphered));
  EXPECT_EQ(read(enciphered), "HSCRYPT96");
  ASSERT_TRUE(crypt.decipher_file(enciphered, deciphered));
  EXPECT_TRUE(std::filesystem::exists(deciphered));
  EXPECT_EQ(read(deciphered), "");
}

TEST_F(CryptFileTest, MissingSourceWritesNothing) {
  const auto missing = folder / "missing";
  const auto destination = folder / "destination";
  crypt.Key = u"abc";
  EXPECT_FALSE(crypt.encipher_file(missing, destination));
  EXPECT_TRUE(crypt.Key.empty());
  EXPECT_FALSE(crypt.decipher_file(missing, destination));
  EXPECT_FALSE(crypt.encipher_file(folder, destination));  // a folder is no file
  EXPECT_FALSE(crypt.decipher_file(folder, destination));
  EXPECT_FALSE(std::filesystem::exists(destination));
}

TEST_F(CryptFileTest, SourceTooShortForAHeaderLeavesTheDestination) {
  const auto source = folder / "short";
  const auto destination = folder / "destination";
  write(source, "HSCRYPT9");
  write(destination, "unchanged");
  EXPECT_FALSE(crypt.decipher_file(source, destination));
  EXPECT_EQ(read(destination), "unchanged");
}

TEST_F(CryptFileTest, SameFileIsRefusedAndKept) {
  const auto file = folder / "file";
  write(file, "HSCRYPT32Hello, World!");
  EXPECT_FALSE(crypt.encipher_file(file, file));
  EXPECT_FALSE(crypt.decipher_file(file, folder / "." / "file"));
  EXPECT_EQ(read(file), "HSCRYPT32Hello, World!");
}

TEST_F(CryptFileTest, UnwritableDestinationFails) {
  const auto source = folder / "source";
  write(source, "HSCRYPT32Hello, World!");
  // A folder cannot be opened as a file, and neither can a file in a missing folder.
  EXPECT_FALSE(crypt.encipher_file(source, folder));
  EXPECT_FALSE(crypt.decipher_file(source, folder));
  EXPECT_FALSE(crypt.encipher_file(source, folder / "missing" / "file"));
  EXPECT_FALSE(crypt.decipher_file(source, folder / "missing" / "file"));
  EXPECT_EQ(read(source), "HSCRYPT32Hello, World!");
}

}  // namespace
}  // namespace dorovev
