// posix_spawn, not fork: the test process has threads (Qt, the links). All runs in the folder.
#include "support/broker.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

extern char** environ;

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

std::string user(BrokerUser u) { return std::string(u.name) + ':' + u.password + '\n'; }

}  // namespace

std::string Broker::missing() {
  for (const char* tool : {kMosquitto, "/usr/bin/mosquitto_passwd", "/usr/bin/openssl"})
    if (::access(tool, X_OK) != 0) return std::string(tool) + " is missing";
  return {};
}

Broker::Broker(BrokerOptions options) : options_(options), port_(probe(0)) {
  std::ofstream(folder_ / "passwd") << user(kLogger1) << user(kLogger2) << user(kListener);
  std::ofstream(folder_ / "acl") << "user logger1\ntopic readwrite kelpie/#\n"
                                 << "user logger2\ntopic readwrite kelpie/#\n"
                                 << "user listener\ntopic read kelpie/#\n";
  std::ofstream conf(folder_ / "mosquitto.conf");
  conf << "listener " << port_ << " 127.0.0.1\nallow_anonymous false\npassword_file passwd\n"
       << "acl_file acl\nallow_zero_length_clientid false\nautosave_on_changes true\n"
       << "autosave_interval 1\nlog_type all\npersistence " << std::boolalpha
       << options_.persistence << "\n";
  if (::geteuid() == 0) conf << "user root\n";
  std::string script = "mosquitto_passwd -U passwd";  // hashes the passwords in place
  if (options_.tls) {
    tlsPort_ = probe(0);
    conf << "listener " << tlsPort_ << " 127.0.0.1\ncafile ca.crt\ncertfile server.crt\n"
         << "keyfile server.key\n";
    const std::string req = " && openssl req -x509 -days 2 -nodes -newkey ed25519 -subj ";
    script += req + "'/CN=Kelpie Test CA' -keyout ca.key -out ca.crt" + req +
              "'/CN=Unknown Test CA' -keyout other-ca.key -out other-ca.crt" + req +
              "'/CN=Kelpie test broker' -CA ca.crt -CAkey ca.key -keyout server.key -out "
              "server.crt -addext subjectAltName=DNS:localhost -addext basicConstraints=CA:FALSE";
  }
  run({"/bin/sh", "-c", script});
}

// The broker runs on in the background; a tool is waited for and must end well.
bool Broker::run(std::vector<std::string> args, bool background) {
  const char* out = background ? "broker.log" : "tools.log";
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addchdir_np(&files, folder_.path().c_str());
  posix_spawn_file_actions_addopen(&files, 1, out, O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  pid_t pid = -1;
  const bool spawned = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&files);
  int status = 0;
  if (spawned && background) return pid_ = pid, true;
  if (spawned && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && !WEXITSTATUS(status))
    return true;
  return error_ = args[0] + " failed: " + std::string(out) + ": " + log(out), false;
}

bool Broker::start() {
  if (!error_.empty() || pid_ > 0) return error_.empty();
  if (!run({kMosquitto, "-c", "mosquitto.conf"}, true)) return false;
  for (int i = 0; i < 1000 && pid_ > 0; ++i, ::usleep(20000)) {  // up to 20 s
    if (probe(port_) && (!options_.tls || probe(tlsPort_))) return true;
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) pid_ = -1;  // it ended
  }
  return error_ = "mosquitto does not accept connections: " + log(), false;
}

std::string Broker::log(const char* file) const {
  std::ifstream in(folder_ / file);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Broker::halt(int signal) {
  if (pid_ > 0 && ::kill(pid_, signal) == 0) ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace kelpie::test
