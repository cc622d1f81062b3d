// posix_spawn, not fork: the test process has threads (Qt, the links). All runs in the folder.
#include "support/broker.h"

#include <arpa/inet.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

namespace kelpie::test {
namespace {

constexpr const char* kMosquitto = "/usr/sbin/mosquitto";

// Connects to the port, or (port 0) finds a free one: the broker reuses it across restarts.
int probe(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{AF_INET, htons(static_cast<uint16_t>(port)), {htonl(INADDR_LOOPBACK)}, {}};
  socklen_t len = sizeof a;
  const auto at = reinterpret_cast<sockaddr*>(&a);
  const int result = port ? (::connect(s, at, len) == 0)
                          : (::bind(s, at, len), ::getsockname(s, at, &len), ntohs(a.sin_port));
  ::close(s);
  return result;
}

}  // namespace

std::string Broker::missing() {
  for (const char* tool : {kMosquitto, "/usr/bin/mosquitto_passwd", "/usr/bin/openssl"})
    if (::access(tool, X_OK) != 0) return std::string(tool) + " is missing";
  return {};
}

Broker::Broker(bool persistence, bool tls) : port_(probe(0)), tlsPort_(tls ? probe(0) : 0) {
  std::ofstream conf(folder_ / "mosquitto.conf"), acl(folder_ / "acl");
  std::ofstream(folder_ / "passwd") << kLogger1.name << ':' << kLogger1.password << '\n'
                                    << kLogger2.name << ':' << kLogger2.password << '\n'
                                    << kListener.name << ':' << kListener.password << '\n';
  acl << "user logger1\ntopic readwrite kelpie/#\nuser logger2\ntopic readwrite kelpie/#\n"
      << "user listener\ntopic read kelpie/#\n";
  conf << "listener " << port_ << " 127.0.0.1\nallow_anonymous false\npassword_file passwd\n"
       << "acl_file acl\nallow_zero_length_clientid false\nautosave_on_changes true\n"
       << "autosave_interval 1\nlog_type all\npersistence " << std::boolalpha << persistence << "\n"
       << (::geteuid() == 0 ? "user root\n" : "");
  std::string script = "mosquitto_passwd -U passwd";  // hashes the passwords in place
  if (tls) {
    conf << "listener " << tlsPort_ << " 127.0.0.1\ncafile ca.crt\ncertfile server.crt\n"
         << "keyfile server.key\n";
    const std::string req = " && openssl req -x509 -days 2 -nodes -newkey ed25519 -subj ";
    script += req + "'/CN=Kelpie Test CA' -keyout ca.key -out ca.crt" + req +
              "'/CN=Unknown Test CA' -keyout other-ca.key -out other-ca.crt" + req +
              "'/CN=Kelpie test broker' -CA ca.crt -CAkey ca.key -keyout server.key -out "
              "server.crt -addext subjectAltName=DNS:localhost -addext basicConstraints=CA:FALSE";
  }
  run(script);
}

// The broker runs on in the background (exec: its pid is ours to kill); a tool must end well.
bool Broker::run(const std::string& script, bool background) {
  const std::string out = background ? "broker.log" : "tools.log";
  std::string line = "cd '" + folder_.path().string() + "' && exec >>" + out + " 2>&1 && " +
                     (background ? "exec " : "") + script;
  char sh[] = "/bin/sh", c[] = "-c";
  char* argv[] = {sh, c, line.data(), nullptr};
  pid_t pid = -1;
  int status = 0;
  const bool spawned = posix_spawn(&pid, sh, nullptr, nullptr, argv, environ) == 0;
  if (spawned && background) return pid_ = pid, true;
  if (spawned && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && !WEXITSTATUS(status))
    return true;
  return error_ = script + " failed: " + out + ": " + log(out), false;
}

bool Broker::start() {
  if (!error_.empty() || pid_ > 0) return error_.empty();
  if (!run(std::string(kMosquitto) + " -c mosquitto.conf", true)) return false;
  for (int i = 0; i < 1000 && pid_ > 0; ++i, ::usleep(20000)) {  // up to 20 s
    if (probe(port_) && (!tlsPort_ || probe(tlsPort_))) return true;
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;  // it ended
  }
  return error_ = "mosquitto does not accept connections: " + log(), false;
}

std::string Broker::log(const std::string& file) const {
  std::string text;
  return readBytes(folder_ / file, text), text;
}

void Broker::kill() {
  if (pid_ > 0 && ::kill(pid_, SIGKILL) == 0) ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace kelpie::test
