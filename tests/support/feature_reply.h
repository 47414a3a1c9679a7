#pragma once
// The engine's whole answer to "protover 2", as the interface reads it.
#include <string>

namespace zandrell::testing {

#define ZANDRELL_TEST_TEXT(x) #x
#define ZANDRELL_TEST_VERSION(major, minor, patch) \
  ZANDRELL_TEST_TEXT(major) "." ZANDRELL_TEST_TEXT(minor) "." ZANDRELL_TEST_TEXT(patch)

inline const std::string kFeatureReply =
    "\nfeature myname=\"Zandrell "
    ZANDRELL_TEST_VERSION(ZANDRELL_VERSION_MAJOR, ZANDRELL_VERSION_MINOR, ZANDRELL_VERSION_PATCH)
    "\" setboard=1 ping=1 usermove=0 san=0 time=1 draw=1\n"
    "\nfeature sigint=0 sigterm=1 reuse=1 analyze=1 colors=1 playother=0 name=1 variants=\"normal,fischerandom\"\n"
    "\nfeature done=1\n";

}  // namespace zandrell::testing
