// The link's view of the layers above it. The main window and the model implement these calls
// later; the link itself never includes app/ or model/, it only knows this interface.
#pragma once

#include <string>

class clsCmcCln3Sequence;
class clsCmcProfileIO;

class LinkHost {
  public:
    virtual ~LinkHost() = default;
    virtual void task() = 0;                                  // the main window's task
    virtual void MsgBoxCloneErr(clsCmcCln3Sequence& seq) = 0; // report a link error
    virtual void saveData(clsCmcProfileIO& prof) = 0;
    virtual void loadData(clsCmcProfileIO& prof) = 0;
    virtual bool RigOpFunc_CheckSubNameLegal(const std::string& nameS) = 0;
};

// The radio's own rule for its sub code: the first two characters compare at most "00" as
// text (character codes, left to right; a shorter text compares lower). For the four hex
// digits of the two sub code bytes this accepts exactly the radios whose first sub code byte
// is 0: "0001" and "00FF" pass, "0100" does not, and so does an empty text.
bool subNameIsLegal(const std::string& nameS);
