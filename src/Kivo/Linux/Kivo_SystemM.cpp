#include "Kivo/Kivo_System.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <sys/socket.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "Base/String_Helpers.h"

namespace {
// The codes of the languages a game can be told, in the order of the
// platform's language table.
const char* const kLanguageCodes[] = {
    "af",  "sq",  "gsw", "am",  "ar",  "hy",  "as",  "az",  "ba",  "eu",  "be", "bn",  "br",  "bg",  "ku",
    "chr", "ca",  "zh",  "co",  "hr",  "cs",  "da",  "prs", "dv",  "nl",  "en", "et",  "fo",  "fil", "fi",
    "fr",  "fy",  "gl",  "ka",  "de",  "el",  "kl",  "gu",  "ha",  "haw", "he", "hi",  "hu",  "is",  "ig",
    "id",  "iu",  "ga",  "xh",  "zu",  "it",  "ja",  "kn",  "kk",  "kh",  "qut", "rw", "kok", "ko",  "ky",
    "lo",  "lv",  "lt",  "dsb", "lb",  "mk",  "ms",  "ml",  "mt",  "mi",  "arn", "mr", "moh", "mn",  "ne",
    "no",  "oc",  "or",  "ps",  "pl",  "pt",  "ff",  "pa",  "quz", "ro",  "rm",  "ru", "sah", "smn", "sa",
    "nso", "tn",  "si",  "sk",  "sl",  "es",  "sw",  "sv",  "syr", "tg",  "tzm", "ta", "tt",  "te",  "th",
    "bo",  "ti",  "tr",  "tk",  "uk",  "ur",  "ug",  "uz",  "vi",  "cy",  "wo",  "ii", "yo",
};

// Languages that the table files under another language's code.
struct LanguageAlias {
  const char* language;
  const char* code;
};
const LanguageAlias kAliases[] = {
    {"sr", "hr"},   {"bs", "hr"},   {"nb", "no"},  {"nn", "no"},   {"hsb", "dsb"},  {"se", "smn"},
    {"sma", "smn"}, {"smj", "smn"}, {"sms", "smn"}, {"km", "kh"},  {"ckb", "ku"},   {"tl", "fil"},
    {"qu", "quz"},  {"quc", "qut"},
};
}  // namespace

std::string Platform_LanguageOfLocale(const char* locale) {
  if (!locale || !*locale || std::strcmp(locale, "C") == 0 || std::strncmp(locale, "C.", 2) == 0 ||
      std::strcmp(locale, "POSIX") == 0)
    return "en";
  std::string language = String_LowerAscii(std::string(locale, std::strcspn(locale, "_.@")));
  for (const LanguageAlias& a : kAliases)
    if (language == a.language) return a.code;
  for (const char* code : kLanguageCodes)
    if (language == code) return code;
  return "--";
}

const char* Platform_LocaleFromEnvironment() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return nullptr;
}

std::string Platform_GetLanguage() { return Platform_LanguageOfLocale(Platform_LocaleFromEnvironment()); }

bool Platform_AnyInterfaceConnected(const PlatformInterface* list, size_t count) {
  for (size_t i = 0; i < count; i++) {
    const PlatformInterface& ifc = list[i];
    if (ifc.flags & IFF_LOOPBACK) continue;
    if ((ifc.flags & (IFF_UP | IFF_RUNNING)) != (IFF_UP | IFF_RUNNING)) continue;
    if (ifc.family == AF_INET || ifc.family == AF_INET6) return true;
  }
  return false;
}

bool Platform_IsNetworkConnected() {
  ifaddrs* all = nullptr;
  if (getifaddrs(&all) != 0) return false;
  std::vector<PlatformInterface> list;
  for (const ifaddrs* a = all; a; a = a->ifa_next)
    list.push_back({a->ifa_flags, a->ifa_addr ? a->ifa_addr->sa_family : AF_UNSPEC});
  freeifaddrs(all);
  return Platform_AnyInterfaceConnected(list.data(), list.size());
}
