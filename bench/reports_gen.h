// Generator of synthetic stored data for the report benchmarks: a log folder of many nets,
// one large net log, and a large vhf4k.adi that knows most of that net's stations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace kelpie::bench {

class ReportsGenerator {
 public:
  explicit ReportsGenerator(std::uint32_t seed) : rng_(seed) {}

  // A callsign such as "KB1XY"; suffixes never hold Z, so calls with Z are free for absent ones.
  std::string callsign() {
    static const char* const prefixes[] = {"K", "W", "N", "AA", "KA", "KB", "KC", "WA", "WB", "VE"};
    std::string c = prefixes[pick(std::size(prefixes))];
    c += static_cast<char>('0' + pick(10));
    for (std::size_t i = 0, n = 1 + pick(3); i < n; ++i) c += static_cast<char>('A' + pick(25));
    return c;
  }

  std::vector<std::string> pool(std::size_t n) {
    std::vector<std::string> p(n);
    for (auto& c : p) c = callsign();
    return p;
  }

  // One net log of `checkIns` records drawn from the pool; every tenth log in the older
  // quoted form.
  void writeLog(const std::filesystem::path& path, const std::vector<std::string>& pool,
                std::size_t checkIns, bool quoted) {
    std::string out;
    for (std::size_t i = 0; i < checkIns; ++i) {
      const std::string& call = pool[pick(pool.size())];
      const std::string qth = "Springfield  FN" + std::to_string(10 + pick(90)) + "  " +
                              std::to_string(pick(360)) + "\xB0";
      if (quoted) {
        out += "\"" + call + "\",\"Pat\",\"" + qth + "\"\r\n";
      } else {
        out += call + "\r\nPat\r\n" + qth + "\r\n";
      }
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << out;
  }

  // nets logs named MMDDYYF.ILE over the years from 2021, `checkIns` records each.
  void writeLogFolder(const std::filesystem::path& folder, std::size_t nets, std::size_t checkIns) {
    const auto calls = pool(600);
    for (std::size_t i = 0; i < nets; ++i) {
      char name[16];
      std::snprintf(name, sizeof name, "%02zu%02zu%02zuF.ILE", 1 + i % 12, 1 + (i / 12) % 28,
                    (21 + i / (12 * 28)) % 100);
      writeLog(folder / name, calls, checkIns, i % 10 == 9);
    }
  }

  // An ADIF file of about targetBytes, one record a line, from a pool of 20,000 stations that
  // includes the given ones (each logged at a random place, most with a grid).
  std::size_t writeAdif(const std::filesystem::path& path, std::size_t targetBytes,
                        const std::vector<std::string>& stations) {
    auto calls = pool(20000);
    for (std::size_t i = 0; i < stations.size() && i < calls.size(); ++i) calls[i] = stations[i];
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    std::string chunk = "Synthetic log <ADIF_VER:5>3.1.4 <EOH>\r\n";
    std::size_t bytes = 0;
    while (bytes + chunk.size() < targetBytes) {
      const std::string& call = calls[pick(calls.size())];
      chunk += "<CALL:" + std::to_string(call.size()) + ">" + call +
               ", <QSO_DATE:8>20240517 <TIME_ON:4>1932 <BAND:2>2M <MODE:2>FM "
               "<RST_SENT:2>59 <RST_RCVD:2>59 <NAME:3>Pat <QTH:11>Springfield ";
      if (pick(7) != 0) chunk += "<GRIDSQUARE:4>" + grid() + " ";
      chunk += "<OPERATOR:5>N1KEL <EOR>\r\n";
      if (chunk.size() > (1u << 20)) {
        out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        bytes += chunk.size();
        chunk.clear();
      }
    }
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    return bytes + chunk.size();
  }

 private:
  std::size_t pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng_);
  }
  std::string grid() {
    return {static_cast<char>('A' + pick(18)), static_cast<char>('A' + pick(18)),
            static_cast<char>('0' + pick(10)), static_cast<char>('0' + pick(10))};
  }
  std::mt19937 rng_;
};

}  // namespace kelpie::bench
