// Runs mosquitto, mosquitto_passwd and openssl through posix_spawn: the test process has
// threads (Qt, the links), where fork without exec is unsafe.
#include "support/broker.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

extern char** environ;

namespace kelpie::test {

namespace {

constexpr const char* kMosquitto = "/usr/sbin/mosquitto";

// A port nobody listens on now; the broker keeps it across restarts (it reuses addresses).
int freePort() {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof a;
  ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
  ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
  ::close(s);
  return ntohs(a.sin_port);
}

bool accepts(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  ::close(s);
  return ok;
}

pid_t spawn(const std::vector<std::string>& args, const std::filesystem::path& output) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t files;
  posix_spawn_file_actions_init(&files);
  posix_spawn_file_actions_addopen(&files, 1, output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
  posix_spawn_file_actions_adddup2(&files, 1, 2);
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[0], &files, nullptr, argv.data(), environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&files);
  return pid;
}

std::string readText(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

std::string Broker::missing() {
  if (::access(kMosquitto, X_OK) != 0) return "mosquitto is not installed (/usr/sbin/mosquitto)";
  if (::access("/usr/bin/mosquitto_passwd", X_OK) != 0) return "mosquitto_passwd is missing";
  if (::access("/usr/bin/openssl", X_OK) != 0) return "openssl is missing";
  return {};
}

Broker::Broker(Options options) : options_(options), port_(freePort()) {
  if (!missing().empty()) return;
  const auto dir = folder_.path();
  const auto passwd = (dir / "passwd").string();
  bool first = true;
  for (const auto& u : {kLogger1, kLogger2, kListener}) {
    std::vector<std::string> args{"mosquitto_passwd", "-b", passwd, u.name, u.password};
    if (first) args.insert(args.begin() + 1, "-c");  // a new file
    first = false;
    if (!run(args)) return;
  }
  std::ofstream(dir / "acl") << "user logger1\ntopic readwrite kelpie/#\n"
                             << "user logger2\ntopic readwrite kelpie/#\n"
                             << "user listener\ntopic read kelpie/#\n";
  std::ofstream conf(dir / "mosquitto.conf");
  conf << "listener " << port_ << " 127.0.0.1\n"
       << "allow_anonymous false\nallow_zero_length_clientid false\npassword_file " << passwd
       << "\nacl_file " << (dir / "acl").string() << "\n"
       << "persistence " << (options_.persistence ? "true" : "false") << "\n"
       << "persistence_location " << dir.string() << "/\n"
       << "autosave_on_changes true\nautosave_interval 1\n"
       << "log_type all\n";
  if (::geteuid() == 0) conf << "user root\n";
  if (options_.tls) {
    makeCertificates();
    tlsPort_ = freePort();
    conf << "listener " << tlsPort_ << " 127.0.0.1\ncafile " << caFile().string() << "\ncertfile "
         << (dir / "server.crt").string() << "\nkeyfile " << (dir / "server.key").string() << "\n";
  }
}

Broker::~Broker() { kill(); }

bool Broker::run(const std::vector<std::string>& args) {
  const pid_t pid = spawn(args, folder_ / "tools.log");
  int status = 0;
  if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
    return true;
  error_ = args[0] + " failed: " + readText(folder_ / "tools.log");
  return false;
}

void Broker::makeCertificates() {
  const auto at = [this](const char* name) { return (folder_ / name).string(); };
  const std::vector<std::string> key{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1",
                                     "-nodes"};
  auto ca = [&](const char* crt, const char* keyFile, const char* name) {
    std::vector<std::string> a{
        "openssl", "req", "-x509", "-days", "2", "-subj", std::string("/CN=") + name};
    a.insert(a.end(), key.begin(), key.end());
    a.insert(a.end(), {"-keyout", at(keyFile), "-out", at(crt)});
    return run(a);
  };
  std::ofstream(folder_ / "san.cnf")
      << "subjectAltName="
      << (options_.foreignName ? "DNS:elsewhere.invalid" : "IP:127.0.0.1,DNS:localhost") << "\n";
  std::vector<std::string> csr{
      "openssl", "req",
      "-subj",   options_.foreignName ? "/CN=elsewhere.invalid" : "/CN=localhost",
      "-keyout", at("server.key"),
      "-out",    at("server.csr")};
  csr.insert(csr.begin() + 2, key.begin(), key.end());
  (void)(ca("ca.crt", "ca.key", "Kelpie Test CA") &&
         ca("other-ca.crt", "other-ca.key", "Unknown Test CA") && run(csr) &&
         run({"openssl", "x509", "-req", "-days", "2", "-in", at("server.csr"), "-CA", at("ca.crt"),
              "-CAkey", at("ca.key"), "-CAcreateserial", "-extfile", at("san.cnf"), "-out",
              at("server.crt")}));
}

bool Broker::start() {
  if (!error_.empty()) return false;
  if (pid_ > 0) return true;
  pid_ = spawn({kMosquitto, "-c", (folder_ / "mosquitto.conf").string()}, folder_ / "broker.log");
  if (pid_ <= 0) return error_ = "cannot run mosquitto", false;
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < until) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return error_ = "mosquitto ended: " + readText(folder_ / "broker.log"), false;
    }
    if (accepts(port_) && (!options_.tls || accepts(tlsPort_))) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  error_ = "mosquitto does not accept connections: " + readText(folder_ / "broker.log");
  return false;
}

std::string Broker::log() const { return readText(folder_ / "broker.log"); }

void Broker::halt(int signal) {
  if (pid_ <= 0) return;
  ::kill(pid_, signal);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

void Broker::stop() { halt(SIGTERM); }
void Broker::kill() { halt(SIGKILL); }

}  // namespace kelpie::test
