#include "geo/locator.h"

#include <cmath>

namespace kelpie {

namespace {

char upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool inRange(char c, char first, char last) { return c >= first && c <= last; }

// The figures of the path model, all derived from the two radii of the ellipsoid.
struct Earth {
  double a = 6378.14;   // equatorial radius, km
  double b = 6356.755;  // polar radius, km
  double halfPi = 2.0 * std::atan(1.0);
  double pi = 2.0 * halfPi;
  double twoPi = 2.0 * pi;
  double dtr = halfPi / 90.0;
  double rp = a * a / b;                                     // radius of curvature at the pole
  double r0 = rp * (1.0 + (b * b * b) / (a * a * a)) / 2.0;  // mean meridian radius
  double d1 = rp - r0;
  double r1 = (rp + a) / 2.0;
  double d2 = rp - r1;
  double p1 = pi * (2.0 * r0 / a - 1.0);  // just short of pi: where the antipodal part starts
  double q = (twoPi * (1.0 - r0 / a)) * (twoPi * (1.0 - r0 / a));
  double d3 = a - r0;
};

constexpr int kSamples = 4;

// Arc cosine through the arc tangent. It also clamps its argument in place, and the clamped
// value is what the rest of the computation goes on with (cosAz feeds the path samples).
double arcCos(double& x, const Earth& e) {
  if (x >= 1.0) {
    x = 1.0;
    return 0.0;
  }
  if (x <= -1.0) {
    x = -1.0;
    return e.pi;
  }
  return e.halfPi - std::atan(x / std::sqrt(1.0 - x * x));
}

}  // namespace

std::optional<LonLat> decodeLocator(std::string_view grid) {
  const std::size_t n = grid.size();
  if (n != 2 && n != 4 && n != 6) return std::nullopt;
  char c[6] = {};
  for (std::size_t i = 0; i < n; ++i) c[i] = upper(grid[i]);

  if (!inRange(c[0], 'A', 'R') || !inRange(c[1], 'A', 'R')) return std::nullopt;
  LonLat p{20.0 * c[0] - 1480.0, 10.0 * c[1] - 740.0};
  if (n == 2) {
    p.lon += 10.0;
    p.lat += 5.0;
    return p;
  }
  if (!inRange(c[2], '0', '9') || !inRange(c[3], '0', '9')) return std::nullopt;
  p.lon += 2.0 * c[2] - 96.0;
  p.lat += c[3] - 48.0;
  if (n == 4) {
    p.lon += 1.0;
    p.lat += 0.5;
    return p;
  }
  if (!inRange(c[4], 'A', 'X') || !inRange(c[5], 'A', 'X')) return std::nullopt;
  p.lon += (c[4] - 64.5) / 12.0;
  p.lat += (c[5] - 64.5) / 24.0;
  return p;
}

std::optional<BeamPath> beamPath(LonLat netControl, LonLat station) {
  const Earth e;
  const double lon1 = netControl.lon * e.dtr;
  const double lat1 = netControl.lat * e.dtr;
  const double lon2 = station.lon * e.dtr;
  const double lat2 = station.lat * e.dtr;

  // Great-circle angle and the initial azimuth on the sphere.
  const double dLon = lon2 - lon1;
  double cosD = std::cos(lat1) * std::cos(lat2) * std::cos(dLon) + std::sin(lat1) * std::sin(lat2);
  const double d = arcCos(cosD, e);
  double cosAz = 0.0;
  if (std::fabs(cosD) < 1.0) {
    const double sinD = std::sqrt(1.0 - cosD * cosD);
    cosAz =
        (std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dLon)) / sinD;
  }
  const double az0 = arcCos(cosAz, e);

  // Mean radius of curvature along the path, sampled at D/8, 3D/8, 5D/8 and 7D/8.
  const double step = d / kSamples;
  double u = -step / 2.0;
  double sum = 0.0;
  for (int i = 0; i < kSamples; ++i) {
    u += step;
    double sinLatP = cosAz * std::cos(lat1) * std::sin(u) + std::sin(lat1) * std::cos(u);
    const double colat = arcCos(sinLatP, e);
    double t = 0.0;
    if (colat != 0.0) t = std::sin(az0) * std::cos(lat1) / std::sin(colat);
    double psi = e.halfPi * t;
    if (std::fabs(t) < 1.0) psi = std::atan(t / std::sqrt(1.0 - t * t));
    const double c = std::cos(2.0 * colat);
    const double m = e.r0 + e.d1 * c;   // meridian radius
    const double nv = e.r1 + e.d2 * c;  // prime-vertical radius
    sum += (nv + m) / 2.0 + std::cos(2.0 * psi) * (m - nv) / 2.0;
  }
  const double rm = sum / kSamples;

  // Near the antipode the path radius is pulled in.
  double corr = 0.0;
  if (d - e.p1 > 0.0) corr = (rm - e.r0) * (d - e.p1) * (d - e.p1) / e.q;
  const double k = std::sin(e.pi * (e.a - rm) / e.d3);
  const double p2 = e.p1 * (1.0 - 0.014 * k);
  if (d > p2) corr += std::sin(e.pi * std::sqrt((e.pi - d) / (e.pi - p2))) * k * 1.8;
  const double dist = d * (rm - corr);

  double az = 0.0;
  if (!(dist < 0.5 || dist > 20003.5)) {
    az = az0;
    if ((e.pi - std::fabs(dLon)) * dLon < 0.0) az = e.twoPi - az0;  // the station lies west
  }
  const double heading = std::floor(az / e.dtr + 0.5);

  if (!std::isfinite(dist) || !std::isfinite(heading)) return std::nullopt;
  return BeamPath{heading, dist};
}

BeamStatus calcBeamHeading(std::string& grid, double& distance, const std::string& netControlGrid,
                           const std::string& distanceUnit) {
  const auto from = decodeLocator(netControlGrid);
  if (!from) return BeamStatus::InvalidLocator;
  const auto to = decodeLocator(grid);
  if (!to) return BeamStatus::InvalidLocator;
  const auto path = beamPath(*from, *to);
  if (!path) return BeamStatus::CalcError;

  // Miles are worked out from the kilometres rounded to a whole number.
  distance =
      distanceUnit == "Miles" ? 0.62138 * std::floor(path->distanceKm + 0.5) : path->distanceKm;
  grid += "  ";
  grid += std::to_string(static_cast<int>(path->heading));
  grid += '\xB0';
  return BeamStatus::Ok;
}

int16_t distanceToInt16(double distance) {
  // A 16-bit variable would stop the program on a value it cannot hold; Kelpie clamps to the
  // nearest limit instead (and takes NaN as 0), so a wild distance never ends a net.
  if (std::isnan(distance)) return 0;
  double whole = std::floor(distance);
  const double frac = distance - whole;
  if (frac > 0.5 || (frac == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  if (whole > 32767.0) return 32767;
  if (whole < -32768.0) return -32768;
  return static_cast<int16_t>(whole);
}

}  // namespace kelpie
