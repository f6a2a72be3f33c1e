// A LinkHost for tests: counts task calls, records every link error report with the message
// text the main window would show at that moment, records settings hand-overs, and applies
// the radio's sub code rule unless a test replaces it. Like the main window, a report resets
// the link (the model's reset does that through easyReset) unless resetOnReport is false.
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
        frmCom* com = gObjCom();
        Report report;
        if (com != nullptr) {
            report.text = cloneErrorText(*com, seq);
            report.lastError = com->cln3D.lastError();
        }
        report.seqError = seq.error();
        reports.push_back(report);
        if (onReport) {
            onReport();
        }
        if (resetOnReport) {
            seq.easyReset(seq.ComPortNo());
        }
    }

    void saveData(clsCmcProfileIO& prof) override { saved.push_back(&prof); }
    void loadData(clsCmcProfileIO& prof) override { loaded.push_back(&prof); }

    bool RigOpFunc_CheckSubNameLegal(const std::string& nameS) override {
        subNamesChecked.push_back(nameS);
        return subNameRule ? subNameRule(nameS) : subNameIsLegal(nameS);
    }

    int taskCalls = 0;
    std::vector<Report> reports;
    std::vector<clsCmcProfileIO*> saved;
    std::vector<clsCmcProfileIO*> loaded;
    std::vector<std::string> subNamesChecked;
    bool resetOnReport = true;
    std::function<void()> onTask;
    std::function<void()> onReport;
    std::function<bool(const std::string&)> subNameRule;
};

} // namespace testsupport
