// The platform services' view of the system: the user's language
// and the network state, read from the environment and the interfaces.
#pragma once
#include <cstddef>
#include <string>

// The two-or-three-letter code of a locale name such as "sr_RS.UTF-8@latin":
// the language before "_", "." or "@"; "C", "POSIX", empty or none is
// English. Languages filed under another language's code take that code
// ("sr" is "hr", "nb" is "no"); a language outside the code table is "--".
std::string Platform_LanguageOfLocale(const char* locale);
// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty;
// null when none is.
const char* Platform_LocaleFromEnvironment();
std::string Platform_GetLanguage();

// One network interface as the connection test sees it.
struct PlatformInterface {
  unsigned flags;  // IFF_* of <net/if.h>
  int family;      // AF_* of the address, AF_UNSPEC when it has none
};
// True when an interface other than loopback is up and running with an IPv4
// or IPv6 address.
bool Platform_AnyInterfaceConnected(const PlatformInterface* list, size_t count);
bool Platform_IsNetworkConnected();
