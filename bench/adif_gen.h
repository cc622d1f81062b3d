// Generator of large synthetic ADIF logs in the forms Kelpie reads: one record per line with
// the station named as ">CALL," (the callsign closed by a comma), as the older vhf4k.adi files
// have it, or plain ADIF 3 as logging programs export it, one record per line (lower-case
// names) or each record over two lines (upper-case names).
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kelpie::bench {

enum class AdifForm { CommaMark, OneLine, TwoLines };

struct AdifGenResult {
  std::size_t bytes = 0;
  std::size_t records = 0;
  std::string firstCall;  // station of the first record that carries a grid
  std::string tailGrid;   // grid of the closing record of the tail station, if one was asked
  std::vector<std::string> calls;  // the stations of the first 1000 records
};

class AdifGenerator {
 public:
  explicit AdifGenerator(std::uint32_t seed, AdifForm form = AdifForm::CommaMark)
      : rng_(seed), form_(form) {}

  // A callsign in the usual shape: prefix, one digit, a suffix of one to three letters.
  // Suffix letters never include Z, so a call such as "W1ZZZ" is certainly absent.
  std::string callsign() {
    static const char* const prefixes[] = {"K",  "W",  "N",  "AA", "AB", "KA", "KB", "KC",
                                           "KD", "KE", "KF", "KG", "KI", "KJ", "KK", "WA",
                                           "WB", "WD", "VE", "VA", "G",  "M",  "DL", "F",
                                           "EA", "I",  "JA", "VK", "ZL", "PY", "LU", "ON"};
    std::string call = prefixes[pick(std::size(prefixes))];
    call += static_cast<char>('0' + pick(10));
    const std::size_t suffix = 1 + pick(3);
    for (std::size_t i = 0; i < suffix; ++i) call += static_cast<char>('A' + pick(25));
    return call;
  }

  std::string grid(bool subsquare) {
    std::string g{static_cast<char>('A' + pick(18)), static_cast<char>('A' + pick(18)),
                  static_cast<char>('0' + pick(10)), static_cast<char>('0' + pick(10))};
    if (subsquare) {
      g += static_cast<char>('A' + pick(24));
      g += static_cast<char>('A' + pick(24));
    }
    return g;
  }

  // One record with CR LF, about 200 bytes; most carry a 4- or 6-character grid. The grid
  // stands last, before the end of the record.
  std::string record(const std::string& call, const std::string& grid) {
    static const char* const bands[] = {"6M", "2M", "1.25M", "70CM", "33CM", "23CM"};
    static const char* const modes[] = {"SSB", "FM", "CW", "FT8", "MSK144"};
    static const char* const names[] = {"John", "Mary", "Bob", "Li", "Ahmed", "Olga", "Jose"};
    static const char* const qths[] = {"Boston, MA", "Springfield", "Halifax, NS",
                                       "Leeds",      "Bremen",      "Albany, NY"};
    std::string r;
    r.reserve(256);
    field(r, "CALL", call);
    if (form_ == AdifForm::CommaMark) r.back() = ',';
    field(r, "QSO_DATE", date());
    field(r, "TIME_ON", digits(4));
    field(r, "BAND", bands[pick(std::size(bands))]);
    field(r, "MODE", modes[pick(std::size(modes))]);
    field(r, "FREQ", "14" + digits(1) + "." + digits(3));
    if (form_ == AdifForm::TwoLines) r.replace(r.size() - 1, 1, "\r\n");
    field(r, "RST_SENT", "5" + digits(1));
    field(r, "RST_RCVD", "5" + digits(1));
    field(r, "NAME", names[pick(std::size(names))]);
    field(r, "QTH", qths[pick(std::size(qths))]);
    field(r, "OPERATOR", "N1KEL");
    field(r, "MY_GRIDSQUARE", "FN20XA");
    if (!grid.empty()) field(r, "GRIDSQUARE", grid);
    r += form_ == AdifForm::OneLine ? "<eor>\r\n" : "<EOR>\r\n";
    return r;
  }

  // Writes a log of about targetBytes: an ADIF header, then records from a pool of stations
  // (so stations recur, as in a lifetime log), one in seven without a grid. A tailCall that
  // the pool cannot produce (a suffix with Z) gets one record, the last, with a grid.
  AdifGenResult write(const std::string& path, std::size_t targetBytes,
                      const std::string& tailCall = "") {
    std::vector<std::string> pool(20000);
    for (auto& c : pool) c = callsign();
    AdifGenResult res;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk =
        "Synthetic log for Kelpie's benchmarks <ADIF_VER:5>3.1.4 <PROGRAMID:6>kelgen <EOH>\r\n";
    while (res.bytes + chunk.size() < targetBytes) {
      const std::string& call = pool[pick(pool.size())];
      const bool withGrid = pick(7) != 0;
      if (withGrid && res.firstCall.empty()) res.firstCall = call;
      if (res.calls.size() < 1000) res.calls.push_back(call);
      chunk += record(call, withGrid ? grid(pick(2) == 0) : "");
      ++res.records;
      if (chunk.size() > (1u << 20)) {
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        res.bytes += chunk.size();
        chunk.clear();
      }
    }
    if (!tailCall.empty()) {
      res.tailGrid = grid(true);
      chunk += record(tailCall, res.tailGrid);
      ++res.records;
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    res.bytes += chunk.size();
    return res;
  }

 private:
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }

  std::string digits(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + pick(10));
    return s;
  }

  std::string date() {
    return std::to_string(1995 + pick(30)) + "0" + std::to_string(1 + pick(9)) +
           std::to_string(10 + pick(18));
  }

  void field(std::string& r, const char* name, const std::string& value) const {
    r += '<';
    for (const char* c = name; *c != 0; ++c) {
      r += form_ == AdifForm::OneLine && *c >= 'A' && *c <= 'Z' ? static_cast<char>(*c + 32) : *c;
    }
    r += ':';
    r += std::to_string(value.size());
    r += '>';
    r += value;
    r += ' ';
  }

  std::mt19937 rng_;
  AdifForm form_;
};

}  // namespace kelpie::bench
