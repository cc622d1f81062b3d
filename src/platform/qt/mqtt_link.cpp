// libmosquitto on a thread of its own per link. The window's thread only queues commands and
// wakes that thread; libmosquitto's blocking calls (name lookup, TCP connect) and its callbacks
// stay there. What happens comes back as queued calls on a QObject of the window's thread, each
// stamped with the start it belongs to, so nothing from an earlier start reaches the listener.
#include "platform/qt/mqtt_link.h"

#include <mosquitto.h>
#include <mqtt_protocol.h>
#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <algorithm>
#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace kelpie {

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kKeepAliveSeconds = 10;  // also how long a broker may keep us waiting for CONNACK
// Larger messages are the broker's to drop: no net line comes near it.
constexpr int kMaxPacketBytes = 256 * 1024;
constexpr milliseconds kFirstRetry{1000};
constexpr milliseconds kLongestRetry{4000};  // the promise is "at least every 5 seconds"
constexpr milliseconds kGoodbyeBound{1000};  // at most this long to hand DISCONNECT over

void initLibraryOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    mosquitto_lib_init();
    // A write to a connection the broker just dropped must end in an error code, not in the
    // signal that ends the program (the log on disk is fine either way, the window is not).
    ::signal(SIGPIPE, SIG_IGN);
  });
}

// The texts of the status line for each reason.
constexpr const char* kBadLogin = "wrong user name or password";
constexpr const char* kNotAllowed = "not allowed";
constexpr const char* kUntrusted = "certificate not trusted";
constexpr const char* kNoCaFile = "cannot read the CA file";
constexpr const char* kUnreachable = "broker not reachable, retrying";
constexpr const char* kLost = "connection lost, retrying";

}  // namespace

struct MqttLink::Bridge {
  std::mutex mutex;
  QObject* context = nullptr;  // set to null (under mutex) when the link goes away
  // Touched on the window's thread only.
  ShareListener* listener = nullptr;
  std::uint64_t generation = 0;  // one per start(); stop() moves it on
};

struct MqttLink::Worker {
  struct Command {
    bool subscribe = false;
    std::string topic, payload;
    bool retained = false;
  };

  // Fixed before the thread starts.
  ShareLogin login;
  std::string willTopic, willPayload;
  std::shared_ptr<Bridge> bridge;
  std::uint64_t generation = 0;
  int wakeFd = -1;

  // From the window's thread.
  std::mutex mutex;
  std::deque<Command> commands;
  bool stopping = false;

  // The network thread's own.
  mosquitto* mosq = nullptr;
  std::vector<std::string> filters;
  std::map<int, std::string> publishing, subscribing;  // message id -> topic or filter
  bool connected = false;                              // CONNACK success on this connection
  bool refused = false;                                // for good, until shared again
  milliseconds backoff = kFirstRetry;
  Clock::time_point nextTry{};
  LinkState shown = LinkState::Off;
  std::string shownDetail;

  ~Worker() {
    if (mosq) mosquitto_destroy(mosq);
    if (wakeFd >= 0) ::close(wakeFd);
  }

  void command(Command c) {
    {
      std::lock_guard lock(mutex);
      commands.push_back(std::move(c));
    }
    wake();
  }
  void requestStop() {
    {
      std::lock_guard lock(mutex);
      stopping = true;
    }
    wake();
  }
  void wake() const {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wakeFd, &one, sizeof one);
  }

  // Hands a call to the listener over to the window's thread.
  void post(std::function<void(ShareListener&)> call) {
    std::lock_guard lock(bridge->mutex);
    if (!bridge->context) return;
    QMetaObject::invokeMethod(
        bridge->context,
        [b = bridge, gen = generation, call = std::move(call)] {
          if (b->generation == gen && b->listener) call(*b->listener);
        },
        Qt::QueuedConnection);
  }
  void show(LinkState state, const std::string& detail) {
    if (state == shown && detail == shownDetail) return;
    shown = state;
    shownDetail = detail;
    post([state, detail](ShareListener& l) { l.linkChanged(state, detail); });
  }
  void refuse(LinkState state, const char* detail) {
    refused = true;
    show(state, detail);
  }

  static Worker& of(void* self) { return *static_cast<Worker*>(self); }

  bool configure() {
    mosq = mosquitto_new(login.clientId.empty() ? nullptr : login.clientId.c_str(), true, this);
    if (!mosq) return false;
    mosquitto_int_option(mosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V5);
    if (!login.user.empty())
      mosquitto_username_pw_set(mosq, login.user.c_str(), login.password.c_str());
    if (!willTopic.empty())
      mosquitto_will_set_v5(mosq, willTopic.c_str(), static_cast<int>(willPayload.size()),
                            willPayload.data(), 1, true, nullptr);
    if (login.tls) {
      const bool own = !login.caFile.empty();
      // libmosquitto opens the CA file here: an unreadable one fails at once.
      if (mosquitto_tls_set(mosq, own ? login.caFile.c_str() : nullptr,
                            own ? nullptr : "/etc/ssl/certs", nullptr, nullptr,
                            nullptr) != MOSQ_ERR_SUCCESS) {
        refuse(LinkState::Untrusted, kNoCaFile);
        return true;
      }
      mosquitto_tls_insecure_set(mosq, false);  // the host name must match the certificate
    }
    mosquitto_connect_v5_callback_set(
        mosq, [](mosquitto*, void* self, int rc, int, const mosquitto_property*) {
          of(self).connectAnswered(rc);
        });
    mosquitto_message_v5_callback_set(
        mosq, [](mosquitto*, void* self, const mosquitto_message* m, const mosquitto_property*) {
          std::string topic = m->topic ? m->topic : "";
          std::string payload(static_cast<const char*>(m->payload),
                              static_cast<size_t>(std::max(m->payloadlen, 0)));
          const bool retained = m->retain;
          of(self).post([topic = std::move(topic), payload = std::move(payload), retained](
                            ShareListener& l) { l.messageArrived(topic, payload, retained); });
        });
    mosquitto_publish_v5_callback_set(
        mosq, [](mosquitto*, void* self, int mid, int reason, const mosquitto_property*) {
          auto& w = of(self);
          const auto it = w.publishing.find(mid);
          if (it == w.publishing.end()) return;
          std::string topic = std::move(it->second);
          w.publishing.erase(it);
          if (reason >= 0x80)
            w.post([topic = std::move(topic)](ShareListener& l) { l.writeRefused(topic); });
        });
    mosquitto_subscribe_v5_callback_set(mosq, [](mosquitto*, void* self, int mid, int count,
                                                 const int* granted, const mosquitto_property*) {
      auto& w = of(self);
      const auto it = w.subscribing.find(mid);
      if (it == w.subscribing.end()) return;
      std::string filter = std::move(it->second);
      w.subscribing.erase(it);
      if (count < 1 || granted[0] >= 0x80)
        w.post([filter = std::move(filter)](ShareListener& l) { l.subscribeRefused(filter); });
    });
    return true;
  }

  void connectAnswered(int reason) {
    if (reason == MQTT_RC_SUCCESS) {
      connected = true;
      backoff = kFirstRetry;
      subscribing.clear();  // answers for an earlier connection never come
      show(LinkState::Connected, "");
      // A clean start has no subscriptions: ask again, and the retained messages follow.
      for (const auto& f : filters) sendSubscribe(f);
      return;
    }
    const bool badLogin =
        reason == MQTT_RC_BAD_USERNAME_OR_PASSWORD || reason == MQTT_RC_NOT_AUTHORIZED;
    refuse(badLogin ? LinkState::BadLogin : LinkState::NotAllowed,
           badLogin ? kBadLogin : kNotAllowed);
  }

  void sendSubscribe(const std::string& filter) {
    int mid = 0;
    if (mosquitto_subscribe_v5(mosq, &mid, filter.c_str(), 1, 0, nullptr) == MOSQ_ERR_SUCCESS)
      subscribing[mid] = filter;
  }

  // The connection is gone (or never came): say so and plan the next try.
  void ended(int rc) {
    const bool was = connected;
    connected = false;
    if (refused) return;
    // A TLS failure before the broker answered is the certificate (or the host name on it).
    if (rc == MOSQ_ERR_TLS && !was) return refuse(LinkState::Untrusted, kUntrusted);
    show(LinkState::Connecting, was ? kLost : kUnreachable);
    nextTry = Clock::now() + backoff;
    backoff = std::min(backoff * 2, kLongestRetry);
  }

  // Takes the queued commands; false once stop() was asked. What was asked before the stop
  // still goes out (a window's goodbye on the net), ahead of the DISCONNECT.
  bool takeCommands() {
    std::deque<Command> now;
    bool stop = false;
    {
      std::lock_guard lock(mutex);
      stop = stopping;
      now.swap(commands);
    }
    for (auto& c : now) {
      if (c.subscribe) {
        if (std::find(filters.begin(), filters.end(), c.topic) != filters.end()) continue;
        filters.push_back(c.topic);
        if (connected) sendSubscribe(c.topic);
      } else if (connected) {  // the window publishes all it holds on every connection
        int mid = 0;
        if (mosquitto_publish_v5(mosq, &mid, c.topic.c_str(), static_cast<int>(c.payload.size()),
                                 c.payload.data(), 1, c.retained, nullptr) == MOSQ_ERR_SUCCESS)
          publishing[mid] = std::move(c.topic);
      }
    }
    return !stop;
  }

  void waitForWake(int timeoutMs) const {
    pollfd p{wakeFd, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) > 0) {
      std::uint64_t n = 0;
      [[maybe_unused]] auto r = ::read(wakeFd, &n, sizeof n);
    }
  }

  void connect() {
    mosquitto_property* props = nullptr;
    mosquitto_property_add_int32(&props, MQTT_PROP_MAXIMUM_PACKET_SIZE, kMaxPacketBytes);
    // Blocks for the name lookup and the TCP connect: this thread is there for that.
    const int rc = mosquitto_connect_bind_v5(mosq, login.host.c_str(), login.port,
                                             kKeepAliveSeconds, nullptr, props);
    mosquitto_property_free_all(&props);
    if (rc != MOSQ_ERR_SUCCESS) ended(rc);
  }

  void run() {
    show(LinkState::Connecting, "connecting");
    if (!configure()) refuse(LinkState::NotAllowed, kNotAllowed);
    while (takeCommands()) {
      const int sock = mosq ? mosquitto_socket(mosq) : -1;
      if (sock < 0) {
        const auto wait = nextTry - Clock::now();
        if (refused) {
          waitForWake(-1);
        } else if (wait > Clock::duration::zero()) {
          waitForWake(static_cast<int>(std::chrono::ceil<milliseconds>(wait).count()));
        } else {
          connect();
        }
        continue;
      }
      pollfd p[2] = {
          {sock, static_cast<short>(POLLIN | (mosquitto_want_write(mosq) ? POLLOUT : 0)), 0},
          {wakeFd, POLLIN, 0}};
      ::poll(p, 2, 1000);
      if (p[1].revents) waitForWake(0);
      int rc = MOSQ_ERR_SUCCESS;
      if (p[0].revents & (POLLIN | POLLERR | POLLHUP)) rc = mosquitto_loop_read(mosq, 1);
      if (rc == MOSQ_ERR_SUCCESS && mosquitto_socket(mosq) >= 0 && mosquitto_want_write(mosq))
        rc = mosquitto_loop_write(mosq, 1);
      if (rc == MOSQ_ERR_SUCCESS && mosquitto_socket(mosq) >= 0) rc = mosquitto_loop_misc(mosq);
      if (rc != MOSQ_ERR_SUCCESS || mosquitto_socket(mosq) < 0) ended(rc);
    }
    goodbye();
    if (mosq) mosquitto_destroy(mosq);
    mosq = nullptr;
  }

  // A DISCONNECT tells the broker to drop the will: stopping is not a loss. Also sent while
  // CONNACK is still awaited, since the broker may already hold the will.
  void goodbye() {
    if (!mosq || refused || mosquitto_socket(mosq) < 0) return;
    // libmosquitto closes its socket as soon as DISCONNECT is written. Closed with the broker's
    // messages still unread, a socket is reset, and the broker may lose the DISCONNECT with it
    // and publish the will: a second handle on the socket reads on to the broker's own close.
    const int keep = ::dup(mosquitto_socket(mosq));
    mosquitto_disconnect_v5(mosq, MQTT_RC_NORMAL_DISCONNECTION, nullptr);
    const auto until = Clock::now() + kGoodbyeBound;
    while (mosquitto_socket(mosq) >= 0 && mosquitto_want_write(mosq) && Clock::now() < until) {
      pollfd p{mosquitto_socket(mosq), POLLOUT, 0};
      ::poll(&p, 1, 100);
      if (mosquitto_loop_write(mosq, 1) != MOSQ_ERR_SUCCESS) break;
    }
    if (keep < 0) return;
    ::shutdown(keep, SHUT_WR);
    char sink[4096];
    while (Clock::now() < until) {
      pollfd p{keep, POLLIN, 0};
      if (::poll(&p, 1, 100) > 0 && ::recv(keep, sink, sizeof sink, 0) <= 0) break;
    }
    ::close(keep);
  }
};

MqttLink::MqttLink() : bridge_(std::make_shared<Bridge>()) {
  initLibraryOnce();
  bridge_->context = new QObject;  // on the window's thread, where the listener is called
}

MqttLink::~MqttLink() {
  stop();
  QObject* context = nullptr;
  {
    std::lock_guard lock(bridge_->mutex);
    std::swap(context, bridge_->context);
  }
  bridge_->listener = nullptr;
  // Later: this may run inside a call the context delivers.
  if (QCoreApplication::instance())
    context->deleteLater();
  else
    delete context;
}

void MqttLink::setListener(ShareListener* listener) { bridge_->listener = listener; }

void MqttLink::start(const ShareLogin& login, const std::string& willTopic,
                     const std::string& willPayload) {
  halt();
  auto w = std::make_shared<Worker>();
  w->login = login;
  w->willTopic = willTopic;
  w->willPayload = willPayload;
  w->bridge = bridge_;
  w->generation = bridge_->generation;
  w->filters = filters_;
  w->wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  worker_ = w;
  // Detached: a thread stuck in a name lookup must not hold up the window when sharing stops.
  std::thread([w] { w->run(); }).detach();
}

void MqttLink::halt() {
  ++bridge_->generation;  // whatever is still queued for the listener is dropped
  if (!worker_) return;
  worker_->requestStop();
  worker_.reset();
}

void MqttLink::stop() {
  halt();
  filters_.clear();
}

void MqttLink::publish(const std::string& topic, const std::string& payload, bool retained) {
  if (worker_) worker_->command({false, topic, payload, retained});
}

void MqttLink::subscribe(const std::string& filter) {
  if (std::find(filters_.begin(), filters_.end(), filter) == filters_.end())
    filters_.push_back(filter);
  if (worker_) worker_->command({true, filter, {}, false});
}

}  // namespace kelpie
