// A real Mosquitto broker for the shared-net tests: its own configuration, users, access list
// and (on request) TLS certificates in a temporary folder, on 127.0.0.1 at a free port that
// stays the same across stops and restarts.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/fake_platform.h"

namespace kelpie::test {

struct BrokerUser {
  const char* name;
  const char* password;
};
// The access list: loggers may read and write kelpie/#, the listener may only read it.
inline constexpr BrokerUser kLogger1{"logger1", "pw-logger1"};
inline constexpr BrokerUser kLogger2{"logger2", "pw-logger2"};
inline constexpr BrokerUser kListener{"listener", "pw-listener"};

struct BrokerOptions {
  bool persistence = false;  // retained messages kept on disk after every change
  bool tls = false;          // a second listener with a certificate for 127.0.0.1/localhost
  bool foreignName = false;  // ... whose certificate names another host instead
};

class Broker {
 public:
  using Options = BrokerOptions;
  // Writes the configuration (and certificates); start() runs the broker.
  explicit Broker(Options options = {});
  ~Broker();
  Broker(const Broker&) = delete;
  Broker& operator=(const Broker&) = delete;

  // Why no broker can run on this machine; empty when one can.
  static std::string missing();

  // Runs it and waits until its ports accept connections; false (see error()) when it fails.
  bool start();
  void stop();  // SIGTERM, and waits for the end
  void kill();  // SIGKILL, and waits for the end

  int port() const { return port_; }
  int tlsPort() const { return tlsPort_; }
  std::filesystem::path caFile() const { return folder_ / "ca.crt"; }
  std::filesystem::path otherCaFile() const { return folder_ / "other-ca.crt"; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  const std::string& error() const { return error_; }
  std::string log() const;  // what the broker wrote (log_type all)

 private:
  bool run(const std::vector<std::string>& args);
  void makeCertificates();
  void halt(int signal);

  Options options_;
  TempFolder folder_;
  int port_ = 0;
  int tlsPort_ = 0;
  pid_t pid_ = -1;
  std::string error_;
};

}  // namespace kelpie::test
