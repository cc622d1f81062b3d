// A real Mosquitto for the shared-net tests, on 127.0.0.1 at a port kept across restarts.
#pragma once

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace kelpie::test {

struct BrokerUser {
  const char* name;
  const char* password;
};
// Loggers may read and write kelpie/#, the listener may only read it.
inline constexpr BrokerUser kLogger1{"logger1", "pw-logger1"};
inline constexpr BrokerUser kLogger2{"logger2", "pw-logger2"};
inline constexpr BrokerUser kListener{"listener", "pw-listener"};

struct BrokerOptions {
  bool persistence = false;  // retained messages saved to disk on every change
  bool tls = false;          // a second listener, its certificate made out to localhost only
};

class Broker {
 public:
  explicit Broker(BrokerOptions options = {});  // writes the configuration; start() runs it
  ~Broker() { kill(); }

  static std::string missing();  // why no broker can run here; empty when one can
  bool start();                  // false (see error()) unless its ports soon accept
  void stop() { halt(SIGTERM); }
  void kill() { halt(SIGKILL); }

  int port() const { return port_; }
  int tlsPort() const { return tlsPort_; }
  std::filesystem::path caFile() const { return folder_ / "ca.crt"; }
  std::filesystem::path otherCaFile() const { return folder_ / "other-ca.crt"; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  const std::string& error() const { return error_; }
  std::string log(const char* file = "broker.log") const;  // all the broker wrote

 private:
  bool run(std::vector<std::string> args, bool background = false);
  void halt(int signal);

  BrokerOptions options_;
  TempFolder folder_;
  int port_ = 0, tlsPort_ = 0;
  pid_t pid_ = -1;
  std::string error_;
};

}  // namespace kelpie::test
