#include <gtest/gtest.h>
#include <sys/inotify.h>

#include "support/fake_platform.h"

namespace kelpie::test {

static int opens(int fd) {  // of the watched file since the last call; its events carry no name
  inotify_event buf[64];
  return static_cast<int>(std::max<ssize_t>(::read(fd, buf, sizeof buf), 0) / ssize_t{sizeof *buf});
}

TEST(RosterReads, OnceAtStartUpThenAfreshAtEachCheckIn) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "Bob", "FN20"}});
  const int fd = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(inotify_add_watch(fd, (rig.folder / "NETCONT.ROL").c_str(), IN_OPEN), 0);
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(opens(fd), 1);
  rig.enter("K1ABC");
  EXPECT_EQ(opens(fd), 1);
  ::close(fd);
}

}  // namespace kelpie::test
