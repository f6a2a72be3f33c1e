// SPDX-License-Identifier: GPL-3.0-or-later
// Settings of the simulated VX-K5: line behaviour, fault knobs and the circuit inputs a bench
// technician would set (sensor temperature, audio level, generator level). Every field defaults
// to a healthy radio at room temperature; tests and the command-line tool change them, even
// while the radio is running (each knob is read when the radio next needs it).
#pragma once

#include <array>
#include <cstdint>
#include <deque>

namespace vxk5sim {

// The settings at which one band-pass stage lets the most signal through, per band.
struct BandOptimum {
    int t1 = 0;
    int t2 = 0;
    int t3 = 0;
};

struct SimConfig {
    // --- line ---------------------------------------------------------------------------
    // When on, the cable carries 10 bits per byte at 9600 bit/s (one byte every 1.0417 ms)
    // and transmit() hands out only the bytes that have had time to arrive. Off, every byte is
    // available at once.
    bool pacing = false;
    // Turnaround of the radio between the end of a frame and its first answer byte, in
    // milliseconds; applied only while pacing (without pacing nothing takes time).
    int answerDelayMs = 2;

    // --- faults (all off by default) ---------------------------------------------------
    bool wrongModel = false;      // identity answer carries model code 73 52 instead of 73 51
    bool badSubCode = false;      // identity answer carries sub code 01 01 (first byte not 0)
    bool noEcho = false;          // the cable's loopback is broken: nothing sent comes back
    bool noAnswer = false;        // the radio hears and acts but never transmits
    int badChecksumRecord = -1;   // clone-read record with this index (from 0) has a wrong checksum
    int silenceAfterRecords = -1; // a clone read stops after this many records, without E5
    int dropRecord = -1;          // clone-read record with this index is never sent (lost whole)
    bool garbage = false;         // stray bytes (never FE or FD) before every answer frame
    double noiseRate = 0.0; // chance per byte reaching the computer of being corrupted or dropped
    std::uint32_t noiseSeed = 1; // seed of the noise, so a noisy run can be repeated
    bool refuseWrite = false;    // a clone write ends with E6 01
    int loseAnswers = 0; // the next this many answer frames are lost on the line (counts down)
    // A worn memory cell at this address (0..2047) keeps its value: neither a clone write nor
    // an adjustment command changes it, so a verifying read finds the difference.
    int stuckCell = -1;

    // --- circuits -----------------------------------------------------------------------
    int temperature = 173; // raw temperature sensor reading, 0..255 (173 is about 25 deg C)
    int level = 128;       // audio level input (LVIN) reading, 0..255
    int signal = 160;      // signal detector reading with every band-pass stage on its optimum
    int volume = 128;      // volume control D/A, 0..255
    // Band-pass optimum per band: 0 low (below 150 MHz), 1 mid (150 to below 162 MHz),
    // 2 high (162 MHz and up).
    std::array<BandOptimum, 3> bandOptimum{{{92, 104, 98}, {118, 126, 122}, {148, 140, 152}}};
    // Half width of every band-pass stage's resonance per band, in setting steps: this far from
    // its optimum a stage passes half the power (the detector reads 6 counts less). Eight steps
    // keep a peak that stands out in a fine scan while the coarse points, 20 to 40 steps off,
    // still see the signal.
    std::array<int, 3> bandWidth{{8, 8, 8}};
    // The detector reading wanders by up to this many counts either way, drawn afresh for every
    // readout from a generator of its own that starts from detectorSeed (0: a steady reading).
    int detectorNoise = 0;
    std::uint32_t detectorSeed = 1;
    // Detector readings given in advance: while any are left, each signal detector readout
    // answers the next one instead of the modelled circuit and its noise (a bench with a hand on
    // the level).
    std::deque<int> detectorScript;
    // With a simulated generator attached, the generator's level at which the detector reads
    // `signal` (the band-pass tuned); each dB more or less moves the reading by the
    // detector's two counts. Out of the band the radio is tuned to, the signal passes no
    // resonance and reads this many counts lower, whatever the band-pass settings.
    double generatorReferenceDbm = -60.0;
    int outOfBandLoss = 60;
};

} // namespace vxk5sim
