// The script cipher: a byte-stream cipher of three 32-bit shift registers in three strengths.
//
// The cipher hides a script from casual reading; it is not encryption. Its key is at most
// twelve UTF-16 code units packed into three registers, and the registers step with a fixed
// feedback that a reader of this file can reproduce. Every operation starts with the key
// setup, which turns the key text into the starting registers and then empties the key, so
// the caller sets a key before each operation. Enciphering and deciphering are the same
// XOR with the keystream; the file and stream forms only add a nine-byte header that names
// the strength.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace dorovev {

enum class TEncryptionLevel : std::uint8_t {
  elWeak32bit = 0,    // register A alone
  elMedium64bit = 1,  // A chooses between B and C; C starts equal to B
  elStrong96bit = 2,  // as level 1, with C taken from the key's last four characters
};

// The header of the enciphered file and stream forms: "HSCRYPT32", "HSCRYPT64" or
// "HSCRYPT96" for the three levels.
inline constexpr std::size_t kCryptHeaderSize = 9;
std::string_view crypt_header(TEncryptionLevel level) noexcept;
// The level a header names; nothing when the text is none of the three headers.
std::optional<TEncryptionLevel> level_of_crypt_header(std::string_view header) noexcept;

// The script of a compiled macro is enciphered at this level with this key, both when it is
// compiled and when it is run. A container written with another key cannot be read.
inline constexpr std::u16string_view kContainerKey = u"DRV";
inline constexpr TEncryptionLevel kContainerLevel = TEncryptionLevel::elStrong96bit;

// The registers at the start of the keystream.
struct CryptRegisters {
  std::uint32_t a = 0;
  std::uint32_t b = 0;
  std::uint32_t c = 0;
  friend bool operator==(const CryptRegisters&, const CryptRegisters&) = default;
};

// The key setup without its last step: the key text, repeated to twelve characters (an
// empty key counts as one character of code 0), packed four characters to a register, and
// zero registers replaced by fixed values.
CryptRegisters pack_crypt_key(std::u16string_view key, TEncryptionLevel level) noexcept;

// The keystream of one operation. Each byte takes eight register steps and no table.
class CryptKeystream {
 public:
  CryptKeystream(CryptRegisters registers, TEncryptionLevel level) noexcept
      : registers_(registers), level_(level) {}

  std::uint8_t next() noexcept;
  // XORs every byte with the next keystream byte; the stream runs on across calls.
  void apply(std::span<char> bytes) noexcept;

 private:
  CryptRegisters registers_;
  TEncryptionLevel level_;
};

// The cipher component: a level and a key for the next operation.
class THSCrypt {
 public:
  // The strength of the next operation and the header the enciphering forms write. A
  // deciphering form that meets one of the three headers sets it from the header.
  TEncryptionLevel EncryptionLevel = TEncryptionLevel::elWeak32bit;
  // The key text of the next operation; every operation empties it.
  std::u16string Key;

  // Enciphers or deciphers the bytes in place (there is no header).
  void cipher_bytes(std::span<char> bytes);

  // Writes the header of the current level, then the bytes of the source from its current
  // position to its end, enciphered. False when the source cannot be read or the
  // destination cannot be written.
  bool encipher_stream(std::istream& source, std::ostream& destination);
  // Reads the header from the source's current position and appends the deciphered rest to
  // the destination. One of the three headers sets the level; any other nine bytes keep the
  // current level and are dropped all the same. A source that ends before nine bytes holds
  // no enciphered data: false, and nothing is written.
  bool decipher_stream(std::istream& source, std::ostream& destination);

  // The stream forms over files, the destination created or replaced. False when the source
  // does not exist or cannot be read, when the destination cannot be written, and when both
  // paths name the same file (writing would destroy the source before it is read); in the
  // first and the last case nothing is written.
  bool encipher_file(const std::filesystem::path& source, const std::filesystem::path& destination);
  bool decipher_file(const std::filesystem::path& source, const std::filesystem::path& destination);

 private:
  // Packs the key at the current level and empties it.
  CryptKeystream take_key();
  // The same after a header was read: one of the three headers sets the level first.
  CryptKeystream take_header(std::string_view header);
};

// The stream forms over byte strings.
std::string encipher_block(THSCrypt& crypt, std::string_view plain);
// Nothing when the block is shorter than its header.
std::optional<std::string> decipher_block(THSCrypt& crypt, std::string_view block);

}  // namespace dorovev
