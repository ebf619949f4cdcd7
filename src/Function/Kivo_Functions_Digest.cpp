// base64_encode, base64_decode and the MD5 and SHA-1 digests of texts and
// files. Each gives "" unless called with exactly one string.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Base/Base64.h"
#include "Base/MD5.h"
#include "Base/SHA1.h"
#include "Base/UTF8_Main.h"
#include "Function/Kivo_Functions.h"
#include "IO/LoadSave_Main.h"

namespace {
enum class DigestKind { MD5, SHA1 };

class Digest {
 public:
  explicit Digest(DigestKind kind) : kind_(kind) {
    if (kind_ == DigestKind::MD5) MD5_Init(&md5_);
    else SHA1_Init(&sha1_);
  }
  void Update(const void* bytes, size_t length) {
    if (kind_ == DigestKind::MD5) MD5_Update(&md5_, bytes, length);
    else SHA1_Update(&sha1_, bytes, length);
  }
  // MD5: the 16 bytes as "%02x"; SHA-1: the five state words as "%08x".
  std::string Text() {
    char text[41] = {};
    if (kind_ == DigestKind::MD5) {
      MD5_Final(&md5_);
      for (int i = 0; i < 16; i++) snprintf(text + 2 * i, 3, "%02x", md5_.digest[i]);
    } else {
      SHA1_Final(&sha1_);
      for (int i = 0; i < 5; i++) snprintf(text + 8 * i, 9, "%08x", sha1_.digest[i]);
    }
    return text;
  }

 private:
  DigestKind kind_;
  MD5Context md5_;
  SHA1Context sha1_;
};

bool OneString(int argc, const RValue* arg) { return argc == 1 && RValue_IsString(arg[0]); }

// The digest of the text's UTF-8 bytes, without the terminator.
std::string OfUtf8(DigestKind kind, const char* text) {
  Digest d(kind);
  d.Update(text, std::strlen(text));
  return d.Text();
}

// The digest of the text as UTF-16LE: each 16-bit character, low byte first.
std::string OfUnicode(DigestKind kind, const char* text) {
  std::vector<uint8_t> units;
  for (const char* p = text; *p;) {
    uint16_t c = UTF8_GetChar(p);
    units.push_back(static_cast<uint8_t>(c));
    units.push_back(static_cast<uint8_t>(c >> 8));
  }
  Digest d(kind);
  d.Update(units.data(), units.size());
  return d.Text();
}

// The digest of a file from the save folder, else the game's folder; "" when
// it is in neither or cannot be read to its end.
std::string OfFile(DigestKind kind, const char* name) {
  std::string path = LoadSave_MakeReadPath(name);
  FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), "rb");
  if (!f) return "";
  Digest d(kind);
  uint8_t block[2048];
  size_t n;
  while ((n = std::fread(block, 1, sizeof block, f)) > 0) d.Update(block, n);
  bool whole = !std::ferror(f);
  std::fclose(f);
  return whole ? d.Text() : "";
}

template <std::string (*Of)(DigestKind, const char*), DigestKind K>
void F_Digest(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  RValue_SetString(&Result, OneString(argc, arg) ? Of(K, RValue_Text(arg[0])).c_str() : "");
}

void F_Base64Encode(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  if (!OneString(argc, arg)) return RValue_SetString(&Result, "");
  const char* text = RValue_Text(arg[0]);
  RValue_SetString(&Result, Base64_Encode(reinterpret_cast<const uint8_t*>(text), std::strlen(text)).c_str());
}

// The decoded bytes up to the first zero byte among them.
void F_Base64Decode(RValue& Result, CInstance*, CInstance*, int argc, const RValue* arg) {
  RValue_SetString(&Result, OneString(argc, arg) ? Base64_Decode(RValue_Text(arg[0])).c_str() : "");
}
}  // namespace

void Kivo_Digest_Init() {
  Kivo_Add("base64_encode", nullptr, F_Base64Encode, 1);
  Kivo_Add("base64_decode", nullptr, F_Base64Decode, 1);
  Kivo_Add("md5_string_utf8", nullptr, F_Digest<OfUtf8, DigestKind::MD5>, 1);
  Kivo_Add("md5_string_unicode", nullptr, F_Digest<OfUnicode, DigestKind::MD5>, 1);
  Kivo_Add("md5_file", nullptr, F_Digest<OfFile, DigestKind::MD5>, 1);
  Kivo_Add("sha1_string_utf8", nullptr, F_Digest<OfUtf8, DigestKind::SHA1>, 1);
  Kivo_Add("sha1_string_unicode", nullptr, F_Digest<OfUnicode, DigestKind::SHA1>, 1);
  Kivo_Add("sha1_file", nullptr, F_Digest<OfFile, DigestKind::SHA1>, 1);
}
