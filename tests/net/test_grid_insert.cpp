// Opening the ADIF file. Grid insertion from it is tested with the other popup edits, on their
// net, in test_roster_edits.cpp.
#include <gtest/gtest.h>

#include "support/fake_platform.h"

namespace kelpie::test {
namespace {

TEST(EditAdif, OpensTheFileFoundInAnyCaseWithTheDesktopApplicationSilently) {
  Rig rig;
  rig.start();
  std::filesystem::remove(rig.folder / "vhf4k.adi");
  rig.write("VHF4K.ADI", {"<CALL:5>K9NEW,<GRIDSQUARE:6>FN31PR <EOR>"});
  rig.launcher.openSucceeds = false;  // no application for it: nothing is said
  rig.session.mEditADIF_Click();
  EXPECT_EQ(rig.launcher.opened, std::vector<std::string>{pathText(rig.folder / "VHF4K.ADI")});
  EXPECT_TRUE(rig.launcher.started.empty());
  EXPECT_TRUE(rig.dialogs.shown.empty());
}

}  // namespace
}  // namespace kelpie::test
