// A LinkHost for tests: counts task calls and records every link error report with the message
// text the main window would show at that moment. Like the main window, a report resets the
// link (the model's reset does that through easyReset) unless resetOnReport is false.
#pragma once

#include "link/CloneErrorText.h"
#include "link/LinkGlobals.h"
#include "link/LinkHost.h"
#include "link/clsCmcCln3Sequence.h"
#include "link/frmCom.h"

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

class RecordingLinkHost : public LinkHost {
  public:
    struct Report {
        std::string text;
        std::int16_t lastError = 0;
        std::int16_t seqError = 0;
    };

    void task() override {
        ++taskCalls;
        if (onTask) {
            onTask();
        }
    }

    void MsgBoxCloneErr(clsCmcCln3Sequence& seq) override {
        const frmCom& com = *gObjCom();
        reports.push_back({cloneErrorText(com, seq), com.cln3D.lastError(), seq.error()});
        if (onReport) {
            onReport();
        }
        if (resetOnReport) {
            seq.easyReset(seq.ComPortNo());
        }
    }

    void saveData(clsCmcProfileIO&) override {}
    void loadData(clsCmcProfileIO&) override {}
    bool RigOpFunc_CheckSubNameLegal(const std::string& nameS) override {
        return subNameIsLegal(nameS);
    }

    int taskCalls = 0;
    std::vector<Report> reports;
    bool resetOnReport = true;
    std::function<void()> onTask;
    std::function<void()> onReport;
};

} // namespace testsupport
