// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the link fuzz target's seeds: real exchanges of the simulated radio, healthy and with
// its fault knobs, recorded as scripts (LinkHarness.h) while the harness plays them. Run it
// after a change to the script's form: fuzz_seeds tests/fuzz/corpus/link
#include "sim/SimProtocol.h"
#include "sim/SimRadio.h"
#include "tests/fuzz/LinkHarness.h"

#include <fstream>
#include <functional>
#include <string>

// Radios are configured with designated initializers that leave every other knob at its default.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace fuzzline;

namespace {

// The E8 payloads the model sends: the unlock, a readout of parameter 14, power high to 0x80.
const Bytes Unlock = {0x00, '5', 'R', 'k', '9', 'T', 'z', '3', 'W', 'q', '1'};
const Bytes Readout = {0x03, '0', 'E'};
const Bytes Step = {0x0C, '8', '0'};

struct Session {
    LinkHarness harness{Cut::Whole, 0, 3}; // it writes down the seed as it plays
    vxk5sim::SimRadio radio;
    std::size_t forwarded = 0;
    std::int64_t ms = 0;

    explicit Session(const vxk5sim::SimConfig& config) : radio(config) {}

    // What the driver wrote goes to the radio; what the radio puts on the line comes back.
    bool carry() {
        const Bytes& out = harness.written();
        radio.receive(Bytes(out.begin() + static_cast<std::ptrdiff_t>(forwarded), out.end()), ms);
        forwarded = out.size();
        const Bytes in = radio.transmit(ms);
        if (!in.empty()) {
            harness.deliver(in, true);
            harness.endStep();
        }
        return !in.empty();
    }
    void exchange(SendKind kind, std::uint8_t option, const Bytes& payload = {}) {
        harness.send(kind, option, payload);
        harness.endStep();
        for (int guard = 0; guard < 3000 && (carry() || harness.running()); ++guard) {
            if (harness.running()) {
                harness.tick(20);
                harness.endStep();
                ms += 20;
            }
        }
    }
};

void write(const std::string& folder, const std::string& name, const vxk5sim::SimConfig& config,
           const std::function<void(Session&)>& play) {
    Session session(config);
    play(session);
    const Bytes& bytes = session.harness.script();
    std::ofstream(folder + "/" + name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        return 2;
    }
    const std::string to = argv[1];
    const auto read = [](Session& s) {
        s.exchange(SendKind::Identity, 0);
        s.exchange(SendKind::CloneRead, 1);
    };
    const auto adjust = [](Session& s) {
        s.exchange(SendKind::AdjustNoAnswer, 0, Unlock);
        s.exchange(SendKind::AdjustAnswer, 2, Readout);
        s.exchange(SendKind::AdjustNoAnswer, 0, Step);
    };
    const auto cloneWrite = [](Session& s) { s.exchange(SendKind::CloneWrite, 32); };
    write(to, "identity-and-read", {}, read);
    write(to, "adjust", {}, adjust);
    write(to, "clone-write", {}, cloneWrite);
    write(to, "clone-write-short-list", {},
          [](Session& s) { s.exchange(SendKind::CloneWrite, 9); });
    write(to, "read-bad-record", {.badChecksumRecord = 5}, read);
    write(to, "read-silence", {.silenceAfterRecords = 3}, read);
    write(to, "read-record-lost", {.dropRecord = 2},
          [](Session& s) { s.exchange(SendKind::CloneRead, 2); });
    write(to, "read-noise", {.noiseRate = 0.01}, read);
    write(to, "identity-garbage", {.garbage = true}, read);
    write(to, "identity-wrong-model", {.wrongModel = true}, read);
    write(to, "identity-no-echo", {.noEcho = true}, read);
    write(to, "write-refused", {.refuseWrite = true}, cloneWrite);
    write(to, "readout-answer-lost", {.loseAnswers = 1}, adjust);
    // A record that runs past the image's end, and a clone write whose port fails half way.
    write(to, "read-record-outside-image", {}, [](Session& s) {
        s.exchange(SendKind::Identity, 0);
        s.radio.config().noAnswer = true;
        s.harness.send(SendKind::CloneRead, 0, {});
        s.carry(); // the echo
        const Bytes data(16, 0x5A);
        const Bytes record = vxk5sim::encodeRecord(0x07F8, data.data(), 16);
        s.harness.deliver(vxk5sim::makeAnswerFrame(vxk5sim::kCmdRecord, record), true);
    });
    write(to, "write-port-fails", {}, [](Session& s) {
        s.harness.send(SendKind::CloneWrite, 32, {});
        for (int i = 0; i < 6; ++i) {
            s.carry();
        }
        s.harness.setLineFaults(1);
        s.carry();
        s.harness.setLineFaults(2);
        s.harness.send(SendKind::Identity, 0, {});
    });
    return 0;
}
