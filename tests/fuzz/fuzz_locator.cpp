// Fuzzes the grid decoding and the beam heading; the first byte cuts the input into two grids and
// picks the unit. The path model runs a little past 20004 km near the antipode.
#include <cmath>
#include <cstring>

#include "fuzz_harness.h"
#include "geo/locator.h"

void kelpie::fuzz::run(std::string_view in) {
  if (in.empty()) return;
  const size_t cut = std::min<size_t>(in[0] & 0x0F, in.size() - 1);
  const std::string unit = (in[0] & 0x10) ? "Miles" : "kM";
  in.remove_prefix(1);
  const std::string netControl(in.substr(0, cut)), station(in.substr(cut));
  const auto from = decodeLocator(netControl), to = decodeLocator(station);
  for (const auto& p : {from, to})
    FUZZ_CHECK(!p || (p->lon > -180 && p->lon < 180 && p->lat > -90 && p->lat < 90));
  // The path arithmetic on any two points, raw doubles included: finite answers or none.
  if (in.size() >= 4 * sizeof(double)) {
    double v[4];
    std::memcpy(v, in.data(), sizeof v);
    if (const auto path = beamPath({v[0], v[1]}, {v[2], v[3]}))
      FUZZ_CHECK(std::isfinite(path->heading) && std::isfinite(path->distanceKm));
  }
  std::string grid = station;
  double distance = -1;
  const BeamStatus st = calcBeamHeading(grid, distance, netControl, unit);
  if (!from || !to)
    return FUZZ_CHECK(st == BeamStatus::InvalidLocator && grid == station && distance == -1);
  FUZZ_CHECK(st == BeamStatus::Ok);
  FUZZ_CHECK(distance >= 0 && distance <= (unit == "Miles" ? 12500 : 20100));
  FUZZ_CHECK(grid.compare(0, station.size() + 2, station + "  ") == 0 && grid.back() == '\xB0');
  const std::string deg = grid.substr(station.size() + 2, grid.size() - station.size() - 3);
  FUZZ_CHECK(!deg.empty() && deg.size() <= 3 &&
             deg.find_first_not_of("0123456789") == std::string::npos && std::stoi(deg) <= 360);
}
