// A real Mosquitto for the shared-net tests, on 127.0.0.1 at a port kept across restarts.
#pragma once

#include <csignal>
#include <string>

#include "support/fake_platform.h"

namespace kelpie::test {

struct BrokerUser {
  const char *name, *password;
};
// Loggers may read and write kelpie/#, the listener may only read it.
inline constexpr BrokerUser kLogger1{"logger1", "pw-logger1"}, kLogger2{"logger2", "pw-logger2"},
    kListener{"listener", "pw-listener"};

class Broker {
 public:
  // tls: a second listener, its certificate by ca.crt for localhost only; other-ca.crt signed none.
  explicit Broker(bool persistence = false, bool tls = false);
  ~Broker() { kill(); }

  static std::string missing();  // why no broker can run here; empty when one can
  bool start();                  // false (see error()) unless its ports soon accept
  void kill();
  void freeze() {  // its ports still accept; nothing answers
    if (pid_ > 0) ::kill(pid_, SIGSTOP);
  }

  int port() const { return port_; }
  int tlsPort() const { return tlsPort_; }
  const std::filesystem::path& folder() const { return folder_.path(); }
  const std::string& error() const { return error_; }
  std::string log(const std::string& file = "broker.log") const;  // all the broker wrote

 private:
  bool run(const std::string& script, bool background = false);  // sh -c in the folder

  TempFolder folder_;
  int port_ = 0, tlsPort_ = 0;
  pid_t pid_ = -1;
  std::string error_;
};

}  // namespace kelpie::test
