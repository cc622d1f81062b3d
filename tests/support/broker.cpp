// Runs mosquitto, mosquitto_passwd and openssl through posix_spawn: the test process has
// threads (Qt, the links), where fork without exec is unsafe.
#include "support/broker.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace kelpie::test {
namespace {

constexpr const char* kMosquitto = "/usr/sbin/mosquitto";

// Connects to the port, or (port 0) takes a free one: the broker reuses it across restarts.
int probe(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t len = sizeof a;
  const auto at = reinterpret_cast<sockaddr*>(&a);
  const int result = port ? (::connect(s, at, len) == 0)
                          : (::bind(s, at, len), ::getsockname(s, at, &len), ntohs(a.sin_port));
  ::close(s);
  return result;
}

std::string readText(const std::filesystem::path& p) {
  std::stringstream s;
  s << std::ifstream(p).rdbuf();
  return s.str();
}

}  // namespace

std::string Broker::missing() {
  for (const char* tool : {kMosquitto, "/usr/bin/mosquitto_passwd", "/usr/bin/openssl"})
    if (::access(tool, X_OK) != 0) return std::string(tool) + " is missing";
  return {};
}

Broker::Broker(BrokerOptions options) : options_(options), port_(probe(0)) {
  if (!missing().empty()) return;
  const auto at = [this](const std::string& name) { return (folder_ / name).string(); };
  {
    std::ofstream passwd(at("passwd"));  // hashed in place below
    for (const auto& u : {kLogger1, kLogger2, kListener})
      passwd << u.name << ':' << u.password << '\n';
  }
  if (!run({"mosquitto_passwd", "-U", at("passwd")})) return;
  std::ofstream(at("acl")) << "user logger1\ntopic readwrite kelpie/#\n"
                           << "user logger2\ntopic readwrite kelpie/#\n"
                           << "user listener\ntopic read kelpie/#\n";
  std::ofstream conf(at("mosquitto.conf"));
  conf << "listener " << port_ << " 127.0.0.1\nallow_anonymous false\n"
       << "allow_zero_length_clientid false\npassword_file " << at("passwd") << "\nacl_file "
       << at("acl") << "\npersistence " << (options_.persistence ? "true" : "false")
       << "\npersistence_location " << folder_.path().string()
       << "/\nautosave_on_changes true\nautosave_interval 1\nlog_type all\n";
  if (::geteuid() == 0) conf << "user root\n";
  if (!options_.tls) return;
  const auto cert = [&](const std::string& name, const std::string& cn,
                        std::vector<std::string> signing) {
    std::vector<std::string> a{
        "openssl",        "req",       "-x509",   "-days",           "2",
        "-nodes",         "-newkey",   "ec",      "-pkeyopt",        "ec_paramgen_curve:prime256v1",
        "-subj",          "/CN=" + cn, "-keyout", at(name + ".key"), "-out",
        at(name + ".crt")};
    a.insert(a.end(), signing.begin(), signing.end());
    return run(a);
  };
  (void)(cert("ca", "Kelpie Test CA", {}) && cert("other-ca", "Unknown Test CA", {}) &&
         cert("server", "Kelpie test broker",
              {"-CA", at("ca.crt"), "-CAkey", at("ca.key"), "-addext",
               "subjectAltName=DNS:localhost", "-addext", "basicConstraints=CA:FALSE"}));
  tlsPort_ = probe(0);
  conf << "listener " << tlsPort_ << " 127.0.0.1\ncafile " << at("ca.crt") << "\ncertfile "
       << at("server.crt") << "\nkeyfile " << at("server.key") << "\n";
}

// In the background for the broker itself; otherwise waits and wants exit code 0.
bool Broker::run(std::vector<std::string> args, bool background) {
  const auto out = folder_ / (background ? "broker.log" : "tools.log");
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, out.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  pid_t pid = -1;
  const bool spawned = posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) == 0;
  posix_spawn_file_actions_destroy(&files);
  int status = 0;
  if (spawned && background) return pid_ = pid, true;
  if (spawned && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && !WEXITSTATUS(status))
    return true;
  return error_ = args[0] + " failed: " + readText(out), false;
}

bool Broker::start() {
  if (!error_.empty() || pid_ > 0) return error_.empty();
  if (!run({kMosquitto, "-c", (folder_ / "mosquitto.conf").string()}, true)) return false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < until) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
      pid_ = -1;
      return error_ = "mosquitto ended: " + log(), false;
    }
    if (probe(port_) && (!options_.tls || probe(tlsPort_))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return error_ = "mosquitto does not accept connections: " + log(), false;
}

std::string Broker::log() const { return readText(folder_ / "broker.log"); }

void Broker::halt(int signal) {
  if (pid_ <= 0) return;
  ::kill(pid_, signal);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

}  // namespace kelpie::test
