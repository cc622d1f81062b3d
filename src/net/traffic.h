// An emergency or traffic net's commands and texts: what a traffic answer means, how a
// check-in's facts show on its list line and how they are said.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "data/checkin_facts.h"

namespace kelpie {

struct Listing {
  int count = 0;  // 0: the listing is cleared
  char precedence = 0;
  std::string dest;
};
// "2 P Boston", "Priority", "3 welfare Anytown, ME", "0"; nothing when it is none of these.
std::optional<Listing> parseListing(std::string_view answer);

// What the list line shows after the row's fields: "   <Trf 2P>", "   <Trf 2P passed>",
// "   <Tac EOC>", "   <via W2XYZ>", "   <Rmk ...>", each only where the check-in has it.
std::string factsSuffix(const CheckInFacts& f);
// ", 2 priority traffic for Boston, tactical call EOC, relayed by W2XYZ, remark: ..." (the
// traffic "passed to W2XYZ" once passed); empty for a check-in with none.
std::string spokenFacts(const CheckInFacts& f);
// "2 priority traffic for Boston".
std::string spokenListing(const CheckInFacts& f);
// A tactical call that could be taken for a callsign (a numeral in the 2nd or 3rd character,
// spaces left out), or is too short to be typed as one: the reason it is refused, else "".
std::string tacticalRefusal(std::string_view tactical);
// The text with its spaces left out.
std::string withoutSpaces(std::string_view s);

}  // namespace kelpie
