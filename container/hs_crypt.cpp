// The script cipher: key setup, register steps, keystream, and the stream and file forms.
#include "container/hs_crypt.h"

#include <array>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <system_error>
#include <utility>

namespace dorovev {
namespace {

constexpr std::array<std::string_view, 3> kHeaders = {"HSCRYPT32", "HSCRYPT64", "HSCRYPT96"};

// The stream and file forms read and write in pieces of this size. The keystream runs on
// from one piece to the next, so the size never shows in the result.
constexpr std::size_t kPieceSize = 2048;

// What the key setup puts in place of a register that packed to zero, which would
// otherwise never produce a one.
constexpr std::uint32_t kZeroReplacementA = 0x56056ECB;
constexpr std::uint32_t kZeroReplacementB = 0x3336DED9;
constexpr std::uint32_t kZeroReplacementC = 0xCCC54387;

// One register's constants. An odd register is not shifted: the feedback is XORed into it
// and the top bits are set, and it puts out a one. An even register shifts right by one
// with the top bits cleared, and puts out a zero.
struct RegisterTaps {
  std::uint32_t feedback;
  std::uint32_t keep_when_even;
  std::uint32_t set_when_odd;
};
constexpr RegisterTaps kTapsA{0x40000031, 0x7FFFFFFF, 0x80000000};
constexpr RegisterTaps kTapsB{0x20000010, 0x3FFFFFFF, 0xC0000000};
constexpr RegisterTaps kTapsC{0x08000001, 0x0FFFFFFF, 0xF0000000};

inline std::uint8_t step(std::uint32_t& reg, const RegisterTaps& taps) noexcept {
  if (reg & 1U) {
    reg = (reg ^ taps.feedback) | taps.set_when_odd;
    return 1;
  }
  reg = (reg >> 1) & taps.keep_when_even;
  return 0;
}

// Copies the source to the destination from the source's current position, each byte
// XORed with the keystream, piece by piece.
bool cipher_rest(CryptKeystream& keystream, std::istream& source, std::ostream& destination) {
  std::array<char, kPieceSize> piece;
  while (source) {
    source.read(piece.data(), piece.size());
    const auto count = static_cast<std::size_t>(source.gcount());
    if (count == 0) break;
    keystream.apply(std::span<char>(piece.data(), count));
    if (!destination.write(piece.data(), static_cast<std::streamsize>(count))) return false;
  }
  return !source.bad() && destination.good();
}

bool write_enciphered(CryptKeystream& keystream, TEncryptionLevel level, std::istream& source,
                      std::ostream& destination) {
  const std::string_view header = crypt_header(level);
  if (!destination.write(header.data(), static_cast<std::streamsize>(header.size()))) return false;
  return cipher_rest(keystream, source, destination);
}

bool same_file(const std::filesystem::path& first, const std::filesystem::path& second) {
  std::error_code error;
  return std::filesystem::equivalent(first, second, error) && !error;
}

bool is_file(const std::filesystem::path& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && !error;
}

}  // namespace

std::string_view crypt_header(TEncryptionLevel level) noexcept {
  const auto index = static_cast<std::size_t>(level);
  return index < kHeaders.size() ? kHeaders[index] : kHeaders[0];
}

std::optional<TEncryptionLevel> level_of_crypt_header(std::string_view header) noexcept {
  for (std::size_t i = 0; i < kHeaders.size(); ++i) {
    if (header == kHeaders[i]) return static_cast<TEncryptionLevel>(i);
  }
  return std::nullopt;
}

CryptRegisters pack_crypt_key(std::u16string_view key, TEncryptionLevel level) noexcept {
  static constexpr char16_t kNul = 0;
  if (key.empty()) key = std::u16string_view(&kNul, 1);
  // Characters after the twelfth are not used; a shorter key is written out again from its
  // first character until it has twelve.
  std::array<char16_t, 12> chars{};
  for (std::size_t i = 0; i < chars.size(); ++i) chars[i] = key[i % key.size()];
  // Each character's whole 16-bit code is ORed in after an 8-bit shift, so the high byte of
  // a character outside Latin-1 overlaps the low byte of the one before it.
  const auto pack = [&chars](std::size_t first) {
    std::uint32_t reg = 0;
    for (std::size_t i = first; i < first + 4; ++i) reg = (reg << 8) | chars[i];
    return reg;
  };
  CryptRegisters regs;
  regs.a = pack(0);
  switch (level) {
    case TEncryptionLevel::elMedium64bit:
      regs.b = pack(4);
      regs.c = regs.b;
      break;
    case TEncryptionLevel::elStrong96bit:
      regs.b = pack(4);
      regs.c = pack(8);
      break;
    default:
      regs.b = regs.a;
      regs.c = regs.a;
      break;
  }
  if (regs.a == 0) regs.a = kZeroReplacementA;
  if (regs.b == 0) regs.b = level == TEncryptionLevel::elWeak32bit ? regs.a : kZeroReplacementB;
  if (regs.c == 0) regs.c = level == TEncryptionLevel::elMedium64bit ? regs.b : kZeroReplacementC;
  return regs;
}

std::uint8_t CryptKeystream::next() noexcept {
  std::uint8_t byte = 0;
  CryptRegisters& r = registers_;
  if (level_ == TEncryptionLevel::elWeak32bit) {
    // The first output becomes the most significant bit.
    for (int i = 0; i < 8; ++i) byte = static_cast<std::uint8_t>((byte << 1) | step(r.a, kTapsA));
    return byte;
  }
  // A decides which of B and C steps; each bit is the XOR of their latest outputs, so the
  // register that stands still contributes its last output again.
  std::uint8_t out_b = r.b & 1U;
  std::uint8_t out_c = r.c & 1U;
  for (int i = 0; i < 8; ++i) {
    if (step(r.a, kTapsA)) {
      out_b = step(r.b, kTapsB);
    } else {
      out_c = step(r.c, kTapsC);
    }
    byte = static_cast<std::uint8_t>((byte << 1) | (out_b ^ out_c));
  }
  return byte;
}

void CryptKeystream::apply(std::span<char> bytes) noexcept {
  for (char& byte : bytes) byte = static_cast<char>(static_cast<std::uint8_t>(byte) ^ next());
}

CryptKeystream THSCrypt::take_key() {
  CryptKeystream keystream(pack_crypt_key(Key, EncryptionLevel), EncryptionLevel);
  // Each operation needs its key set again.
  Key.clear();
  return keystream;
}

void THSCrypt::cipher_bytes(std::span<char> bytes) { take_key().apply(bytes); }

CryptKeystream THSCrypt::take_header(std::string_view header) {
  if (const auto level = level_of_crypt_header(header)) EncryptionLevel = *level;
  return take_key();
}

bool THSCrypt::encipher_stream(std::istream& source, std::ostream& destination) {
  CryptKeystream keystream = take_key();
  return write_enciphered(keystream, EncryptionLevel, source, destination);
}

bool THSCrypt::decipher_stream(std::istream& source, std::ostream& destination) {
  std::array<char, kCryptHeaderSize> header{};
  source.read(header.data(), header.size());
  const auto count = static_cast<std::size_t>(source.gcount());
  CryptKeystream keystream = take_header(std::string_view(header.data(), count));
  if (count < header.size()) return false;
  return cipher_rest(keystream, source, destination);
}

bool THSCrypt::encipher_file(const std::filesystem::path& source, const std::filesystem::path& destination) {
  // The key is used up even when there is nothing to encipher.
  CryptKeystream keystream = take_key();
  if (!is_file(source) || same_file(source, destination)) return false;
  std::ifstream in(source, std::ios::binary);
  if (!in) return false;
  std::ofstream out(destination, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const bool written = write_enciphered(keystream, EncryptionLevel, in, out);
  out.close();
  return written && !out.fail();
}

bool THSCrypt::decipher_file(const std::filesystem::path& source, const std::filesystem::path& destination) {
  if (!is_file(source) || same_file(source, destination)) return false;
  std::ifstream in(source, std::ios::binary);
  if (!in) return false;
  // The header is read before the destination is made, so that a source too short to hold
  // one leaves the destination as it was.
  std::array<char, kCryptHeaderSize> header{};
  in.read(header.data(), header.size());
  const auto count = static_cast<std::size_t>(in.gcount());
  CryptKeystream keystream = take_header(std::string_view(header.data(), count));
  if (count < header.size()) return false;
  std::ofstream out(destination, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  const bool written = cipher_rest(keystream, in, out);
  out.close();
  return written && !out.fail();
}

std::string encipher_block(THSCrypt& crypt, std::string_view plain) {
  std::istringstream source{std::string(plain)};
  std::ostringstream destination;
  crypt.encipher_stream(source, destination);
  return std::move(destination).str();
}

std::optional<std::string> decipher_block(THSCrypt& crypt, std::string_view block) {
  std::istringstream source{std::string(block)};
  std::ostringstream destination;
  if (!crypt.decipher_stream(source, destination)) return std::nullopt;
  return std::move(destination).str();
}

}  // namespace dorovev
