// Fuzzes the decoder of a shared net's messages, which come from an untrusted broker: it never
// crashes, and whatever it takes encodes back to a message that decodes to the same thing.
#include "fuzz_harness.h"
#include "share/wire.h"

void kelpie::fuzz::run(std::string_view in) {
  using namespace kelpie::share;
  if (const std::optional<Line> l = decode(in)) {
    const std::string again = encode(*l);  // every field of the line is in it
    FUZZ_CHECK(decode(again) && encode(*decode(again)) == again && again.size() <= kMaxMessage);
  }
  if (const std::optional<Presence> p = decodePresence(in)) {
    const std::string again = encodePresence(*p);
    FUZZ_CHECK(decodePresence(again) && encodePresence(*decodePresence(again)) == again);
  }
}
