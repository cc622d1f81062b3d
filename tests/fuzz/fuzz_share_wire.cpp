// Fuzzes the decoder of a shared net's messages, which come from an untrusted broker: it never
// crashes, and whatever it takes encodes back to a message that decodes to the same thing.
#include "fuzz_harness.h"
#include "share/wire.h"

void kelpie::fuzz::run(std::string_view in) {
  using namespace kelpie::share;
  if (const std::optional<Line> l = decode(in)) {
    const std::string again = encode(*l);  // every field of the line is in it
    const std::optional<Line> back = decode(again);
    FUZZ_CHECK(back && encode(*back) == again && again.size() <= kMaxMessage);
  }
  if (const std::optional<Presence> p = decodePresence(in)) {
    const std::string again = encodePresence(*p);
    const std::optional<Presence> back = decodePresence(again);
    FUZZ_CHECK(back && encodePresence(*back) == again);
  }
}
