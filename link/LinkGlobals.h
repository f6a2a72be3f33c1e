// The link's application globals: the radio identity (with the one memory image), the port
// manager and the sequencer. The radio and the sequencer are created at first use; the port
// manager is created by the start-up and only registered here. The sequencer's creation resets
// the link through gObjCom(), so gObjCom must be set first.
#pragma once

class clsCmcCln3Sequence;
class clsCmcRadio;
class frmCom;

clsCmcRadio& gObjRadio();
// The port manager, or nullptr before the start-up registered it.
frmCom* gObjCom();
void setGObjCom(frmCom* com);
clsCmcCln3Sequence& gObjSeq();

// For tests: drops the radio and the sequencer (rebuilt at their next use) and unregisters the
// port manager.
void resetLinkGlobals();
