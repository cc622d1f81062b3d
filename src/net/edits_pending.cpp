// Placeholder bodies until the list edits and the callsign change land; removed then.
#include "net/session.h"

namespace kelpie {
void Session::getNewCallDupeEntry(const std::string&, int, bool&) {}
void Session::mEditNetControl_Click() {}
void Session::mnuPopUpCall_Click() {}
void Session::mnuPopUpName_Click() {}
void Session::mnuPopUpQTH_Click() {}
void Session::mnuPopUpMultiple_Click() {}
void Session::mnuQRZConnect_Click() {}
void Session::mUpdateToNewCall_Click() {}
void Session::mnuPopUpUpdateCall_Click() {}
void Session::vanityCallUpdate() {}
void Session::mnuPopUpInsertGrid_Click() {}
void Session::mEditADIF_Click() {}
}  // namespace kelpie
