// The VX-K5 model object: the 23 adjustment items, the task that connects to the radio, reads
// its memory and keeps its readouts current, the console events, the window layout, the model
// constants, the readouts and the adjustment procedures. One object exists (gObjRigOp()); its
// member functions are split over clsIndOp_RigK5_*.cpp by concern:
//
//   _Items.cpp       creation, item table, console preparation
//   _Task.cpp        the 26-phase task, console events, buttons, E8 answers
//   _Layout.cpp      captions and window layout
//   _Constants.cpp   the constants file and the temperature border table
//   _Readouts.cpp    A/D and D/A readouts, window state
//   _Procedures.cpp  the adjustment procedures started by Enter
//
// A typical exchange after "Connect": the technician steps "   Power(Hi)" to 128; phase 21 of
// the task hands the change to the console, which sends the E8 text "0C3830" (command 0x0C, then
// the characters "8" and "0") and asks this object to wait 200 ms before its next pass.
#pragma once

#include "console/ConsoleEvents.h"
#include "link/clsCmcTick.h"
#include "platform/Bytes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class RigHost;
class clsConsole;
class clsIndEep_RigK5;

class clsIndOp_RigK5 : public ConsoleEvents {
  public:
    static constexpr int ItemCount = 23;
    static constexpr int TxfBorderCount = 22; // borders 0..20 in use, entry 21 stays 0
    static constexpr int TxfAreaCount = 20;

    // Creation defaults: port 1, the item table, the TXF tables and the sweep points.
    clsIndOp_RigK5();
    ~clsIndOp_RigK5() override;
    clsIndOp_RigK5(const clsIndOp_RigK5&) = delete;
    clsIndOp_RigK5& operator=(const clsIndOp_RigK5&) = delete;

    // --- item table -------------------------------------------------------------------------
    // Back to "not connected": sequencer reset on our port, captions, the 23 items rebuilt.
    void RigOpFunc_ResetAll();

    // --- task, console events, buttons ------------------------------------------------------
    void task();
    std::string ConsEv_Disp(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                            std::int16_t val) override;
    void ConsEv_SendE8(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                       std::int16_t val) override;
    void ConsEv_Enter(clsConsole& objConsole, std::int16_t Index, std::int16_t evNo,
                      std::int16_t val) override;
    void WaitE8Required(std::int32_t wt) override { waitE8 = wt; }
    void RigOpFunc_ClickCmd00(std::int16_t Index);
    void RigOpFunc_SetComPortNo(std::int16_t portNo);
    bool RigProp_EditEnabled() const { return taskPhase > 3 && taskPhase < 25; }
    bool RigProp_DispPara() const { return taskPhase == 25; }
    bool RigProp_Shielding() const { return !RigProp_EditEnabled() && !RigProp_DispPara(); }
    static bool RigOpFunc_CheckSubNameLegal(const std::string& nameS);

    // --- captions and layout ----------------------------------------------------------------
    void RigOpFunc_FormResource();
    void RigOpFunc_FormLayout();
    // Height of the window for a screen of the given height, both in twips.
    static std::int32_t windowHeightFor(std::int32_t screenHeight);

    // --- constants file and temperature borders ---------------------------------------------
    // Reads "Const.ini" from the current directory; true when accepted with all 21 constants
    // (a constant line that is not a finite number refuses the file).
    bool RigProp_ReadParametersFromExtFile();
    bool readParametersFrom(const std::string& fileName);
    // The border value of Index 0..21; any other index throws std::out_of_range.
    std::int16_t RigOp_Table_Txf_TempBorder(std::int16_t Index) const;
    // A number as the constants file writes it (blanks ignored anywhere, "&H" hexadecimal,
    // text without a number reads 0); nothing for a value beyond single precision or a line
    // that reads as infinity or not-a-number ("inf", "-Infinity", "nan", any case).
    static std::optional<float> constantValue(const std::string& line);
    float txfConst(int index) const { return txfConstants.at(static_cast<std::size_t>(index)); }

    // --- readouts and window state ----------------------------------------------------------
    void RigOpDisp_AD(std::int16_t channel, bool firstRequest, bool& done);
    void RigOpDisp_DA(std::int16_t entry, bool firstRequest, bool& done);
    void RigOpFunc_FormState();
    // The list line of an A/D channel or D/A entry showing v; empty for rows without a line.
    static std::string adLineText(int channel, int v);
    static std::string daLineText(int entry, int v);

    // --- adjustment procedures --------------------------------------------------------------
    bool RigOpProc_Dispatch();
    // Temperature area 0..19 of a reading of the temperature sensor.
    std::int16_t RigOpProc_TxfArea(std::int16_t value) const;

    // --- state, read by the main window and by tests ----------------------------------------
    std::int16_t taskPhaseNow() const { return taskPhase; }
    std::int16_t adjStepNow() const { return adjStep; }
    std::int16_t curChNoNow() const { return curChNo; }
    std::int16_t adLastValue(int channel) const {
        return adLast.at(static_cast<std::size_t>(channel));
    }
    std::int16_t daLastValue(int entry) const { return daLast.at(static_cast<std::size_t>(entry)); }
    std::int16_t myComPortNoNow() const { return myComPortNo; }

    // Console indexes of the items the procedures and events address.
    std::int16_t idxChNo = -1, idxDtcsStart = -1, idxDtcsStop = -1, idxModLevel = -1,
                 idxBpfLowAll = -1, idxBpfMidAll = -1, idxBpfHighAll = -1, idxTxf = -1,
                 idxSMeter = -1;

  private:
    // Kept values of one band-pass sweep between ticks.
    struct BpfState {
        // Which of a stage's three points (halfway down, the middle, halfway up) the next
        // reading is for.
        enum class ThreePoint { Below, Middle, Above };
        ThreePoint threePoint = ThreePoint::Below;
        std::int16_t bestReading = 0;
        std::int16_t bestSetting = 0;
        std::int16_t equalCount = 0;
        std::int16_t lower = 0;
        std::int16_t upper = 0;
        std::int16_t middle = 0;
        std::int16_t scanStart = 0;
        std::int16_t scanEnd = 0;
        std::int16_t curPoint = 0;
        bool readoutStarted = false;
    };
    // Whether value lies in low..high, both ends included (steps, phases, areas).
    static constexpr bool inRange(std::int16_t value, int low, int high) {
        return value >= low && value <= high;
    }

    // The two readout pages: A/D channels and D/A entries.
    enum class ReadoutPage { AD, DA };

    void RigOpFunc_PrepareConsole();
    void addItems();
    bool runPhase(std::int16_t phase, std::int16_t& next);
    bool readoutPhase(ReadoutPage page, std::int16_t index);
    void readout(ReadoutPage page, std::int16_t index, bool firstRequest, bool& done);
    void writeReadoutLine(ReadoutPage page, std::int16_t index, std::int16_t v);
    bool RigOpFunc_E8AnswerIllegal(const Bytes& answer) const;
    std::int16_t RigOpFunc_E8AnswerValue(const Bytes& answer) const;
    void sendE8(std::int16_t command, int value);
    bool takeReading(std::int16_t channel, bool& requested);
    void startProcedure(std::int16_t firstStep);

    bool RigOpProc_Channel();
    bool RigOpProc_DtcsStart();
    bool RigOpProc_DtcsStop();
    bool dtcsStep(std::int16_t firstStep, int tone);
    bool RigOpProc_ModLevel();
    bool RigOpProc_Txf();
    bool RigOpProc_SMeter();
    bool RigOpProc_BpfLow();
    bool RigOpProc_BpfMid();
    bool RigOpProc_BpfHigh();
    bool bpfStep(int band);
    // What one tick of a sweep did: wait for a reading, stay on its step, or finish the step.
    enum class BpfTick { Waiting, Stay, Advance };
    std::int16_t bpfAllItem(int band) const;
    void bpfSetStage(int band, int stage, int x);
    void bpfSetAll(int band, int x);
    void bpfStartSweep(int band);
    BpfTick bpfCoarsePass(int band);
    BpfTick bpfStageStep(int band, int stage, int part);
    BpfTick bpfThreePoints(int band, int stage);
    BpfTick bpfFineScan(int band, int stage);
    void computeTxfCurve(std::int16_t area, std::int16_t t);
    bool txfWriteStep();

    clsConsole& console() const;

    std::int16_t myComPortNo = 1;
    std::int16_t taskPhase = 0;
    bool phaseEntry = true;
    bool commError = false;
    std::int16_t adjStep = 0;
    bool reloadRequest = false;
    bool reloadNow = false;
    bool dispParaRequest = false;
    Bytes radioNameBytes;
    std::int32_t waitE8 = 0;
    clsCmcTick waitTick;
    std::int16_t curChNo = 0;
    bool modNext = false;
    bool txfNext = false;
    bool txfSecond = false;
    std::unique_ptr<clsIndEep_RigK5> dump;
    bool formSizedOnce = false;

    std::array<std::int16_t, 4> adLast{-1, -1, -1, -1};
    std::array<std::int16_t, 11> daLast{-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

    std::array<float, TxfBorderCount> txfConstants{};
    std::array<std::int16_t, TxfBorderCount> txfTempBorder{};
    std::array<std::int16_t, 6> bpfPoint{};

    // Procedure state kept between ticks.
    bool modReadoutStarted = false;
    std::int16_t modLastWritten = 0;
    bool smeterReadoutStarted = false;
    bool txfReadoutStarted = false;
    bool txfFullWrite = false;
    bool txfNextCopy = false;
    std::int16_t txfLastArea = -1;
    std::int16_t txfLastItemValue = 0;
    std::int16_t txfWriteIndex = 0;
    std::int16_t txfWriteEnd = 0;
    std::int16_t txfStartValue = 0;
    std::int16_t txfSecondValue = 0;
    std::int16_t txfOffset = 0;
    std::array<float, TxfBorderCount> txfCurve{};
    std::array<float, TxfBorderCount> txfSlope{};
    std::array<BpfState, 3> bpf{};
};

// The one model object, created at first use (it needs the host and the link set up first).
clsIndOp_RigK5& gObjRigOp();
void resetModelGlobal();

// The main window, set by the main window before the model object is first used.
void setRigHost(RigHost* host);
RigHost* rigHost();
