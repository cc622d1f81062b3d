#include <gtest/gtest.h>
#include <sys/inotify.h>

#include "support/fake_platform.h"

using namespace kelpie::test;

// Whole reads of the watched file: an open and a close each, alternating so none is merged.
static int reads(int fd) {
  inotify_event buf[64];
  return int(std::max<ssize_t>(::read(fd, buf, sizeof buf), 0) / ssize_t{2 * sizeof *buf});
}

TEST(RosterReads, OnceAtStartUpThenAfreshAtEachCheckIn) {
  Rig rig;
  rig.writeRoster({{"K1ABC", "Bob", "FN20"}});
  const int fd = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(inotify_add_watch(fd, (rig.folder / "NETCONT.ROL").c_str(), IN_OPEN | IN_CLOSE), 0);
  ASSERT_TRUE(rig.start());
  EXPECT_EQ(reads(fd), 1);
  rig.enter("K1ABC");
  EXPECT_EQ(reads(fd), 1);
  ::close(fd);
}
