#pragma once

// Whether this build runs under AddressSanitizer. Its quarantine holds freed
// memory back (256 MB by default) and every block carries red zones, so the
// memory a process holds says nothing about the program there: memory
// bounds are checked in the ordinary build only.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif
