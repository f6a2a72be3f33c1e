// SPDX-License-Identifier: GPL-3.0-or-later
// The band-pass filter sweep of one band (low, middle or high): it tunes the band's three
// filter stages T1, T2 and T3 for the highest signal detector reading. A coarse pass sets all
// three stages together to 63, 127 and 191; the best point and its neighbours bound the search
// of every stage. Then each stage in turn gets three readings (halfway down, the middle, halfway
// up) and a fine scan by 2 across the better half, and settles on the first highest reading
// plus the number of readings equal to it (the middle of a flat top). The sweep works on the
// band's test channel (1, 2 or 3). A sweep that never saw a signal puts T1 to T3 back, and so
// does one whose coarse readings show no peak: all three within 2 counts of each other (but
// not all 0, which the search still pursues around 63), or full scale at two of them. That one
// ends right after the coarse pass, since nothing a finer search finds would mean anything.
#pragma once

#include "model/Procedure.h"

#include <array>

class ProcedureContext;

class BandPassSweep : public Procedure {
  public:
    // band 0 (low, steps 12 to 25), 1 (middle, 26 to 39) or 2 (high, 40 to 53).
    BandPassSweep(ProcedureContext& ctx, int band);
    bool tick(std::int16_t& step) override;
    void stop() override { readingOut = false; }
    std::optional<std::string> runningLine(std::int16_t index, std::int16_t val) override;

  private:
    // The steps, counted from the band's first.
    enum Step : std::int16_t {
        Start = 0,
        SetFirstPoint = 1,
        CoarsePass = 2,
        FirstStageStep = 3, // three steps per stage: halfway down, three points, fine scan
        SweepDone = 12,
        Finish = 13,
    };
    // What one tick of a step did: wait for a reading, stay on the step, finish it, or end the
    // sweep without a result (step 0).
    enum class Tick { Waiting, Stay, Advance, Ended };
    // A message of the ended sweep, from the band's name and its test channel and frequency.
    using EndMessage = std::string (*)(const std::string& band, const std::string& channel,
                                       const std::string& frequency);
    // Which of a stage's three points the next reading is for.
    enum class ThreePoint { Below, Middle, Above };

    std::int16_t allItem() const;
    void setStage(int stage, int x);
    void setAll(int x);
    void startSweep();
    bool detector(std::int16_t& value);
    Tick coarsePass(std::int16_t& step);
    EndMessage noPeak() const;
    Tick stageStep(int stage, int part);
    Tick threePoints(int stage);
    void chooseScanRange();
    Tick fineScan(int stage);
    void endWithout(std::int16_t& step, EndMessage message);

    ProcedureContext& ctx;
    const int band;
    const std::int16_t firstStep;
    static constexpr std::array<std::int16_t, 5> Points = {0, 63, 127, 191, 255};

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
    std::array<std::int16_t, 3> coarseReadings{}; // at the points 1 to 3
    bool readingOut = false;
    bool signalSeen = false; // some reading of this sweep rose above 0
    int varyingStage = -1;   // the stage the next reading is for; -1 all three together
    int varyingSetting = 0;
};
