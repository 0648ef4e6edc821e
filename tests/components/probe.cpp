// A component that records every command it gets and, as its test asks through the Probe*
// functions, answers commands with messages to the program, throws, or runs with progress.
#include "ovc.h"

#include <array>
#include <cstring>
#include <stdexcept>
#include <vector>

#ifndef PROBE_DESC
#define PROBE_DESC                                                                                 \
    "Ver=1.5\rName=Probe\rOpt=WP\rPar1=I,Radius,1,100,10\rPar2=F2,Amount,0.5,0,10,1\r"             \
    "Par3=B,Go\rPar4=P,Spot,0,0\rPar5=C,Flag,0\r"
#endif

OVC_DESCRIPTOR(PROBE_DESC)

namespace {

struct Record {
    uint32_t command = 0;
    std::array<uint8_t, OVC_VALUES_SIZE> values{};
    OvcEnv env{};
    OvcClick click{};
    int32_t button = 0;
    int depth = 0; // calls of OVCPROCESS already under way when this one came
};

struct Act {
    uint32_t on;
    uint32_t message;
    uintptr_t w;
    intptr_t l;
    int remaining;
};

std::vector<Record> records;
std::vector<Act> acts;
std::vector<intptr_t> answers;
uint32_t throwOn = 0;
bool stepping = false;
int depth = 0;
void* host = nullptr;
OvcHostCall call = nullptr;

// Inverts the rectangle; with stepping, reports each row and gives up when told to stop.
void Process(const OvcEnv& e) {
    if (stepping && e.final) call(host, OVC_MSG_STEPS, uintptr_t(e.bottom - e.top + 1), 0);
    for (intptr_t y = e.top; y <= e.bottom; ++y) {
        for (intptr_t x = e.left; x <= e.right; ++x) {
            const uint32_t s = e.src[y * e.width + x];
            if (e.markedOnly && !(s & OVC_MARK)) continue;
            e.dst[y * e.width + x] = ~s & 0xFFFFFFu;
        }
        if (stepping && e.final && call(host, OVC_MSG_STEP, uintptr_t(y - e.top + 1), 0) != 0)
            return;
    }
}

} // namespace

OVC_EXPORT void OVCPROCESS(void* data, uint32_t command) {
    Record r;
    r.command = command;
    if (command == OVC_PARAMS) std::memcpy(r.values.data(), data, OVC_VALUES_SIZE);
    if (command == OVC_START || command == OVC_PROCESS) {
        r.env = *static_cast<const OvcEnv*>(data);
        host = r.env.host;
        call = r.env.call;
    }
    if (command == OVC_CLICK) r.click = *static_cast<const OvcClick*>(data);
    if (command == OVC_BUTTON) r.button = *static_cast<const int32_t*>(data);
    r.depth = depth;
    records.push_back(r);
    ++depth;
    struct Leave {
        ~Leave() { --depth; }
    } leave;
    if (command == OVC_PROCESS) Process(*static_cast<const OvcEnv*>(data));
    for (Act& a : acts)
        if (a.on == command && a.remaining > 0 && call) {
            --a.remaining;
            answers.push_back(call(host, a.message, a.w, a.l));
        }
    if (throwOn == command) throw std::runtime_error("probe failed on purpose");
}

OVC_EXPORT void ProbeReset() {
    records.clear();
    acts.clear();
    answers.clear();
    throwOn = 0;
    stepping = false;
}
OVC_EXPORT int ProbeCount() {
    return int(records.size());
}
OVC_EXPORT uint32_t ProbeCommand(int i) {
    return records.at(size_t(i)).command;
}
OVC_EXPORT const uint8_t* ProbeValues(int i) {
    return records.at(size_t(i)).values.data();
}
OVC_EXPORT const OvcEnv* ProbeEnv(int i) {
    return &records.at(size_t(i)).env;
}
OVC_EXPORT const OvcClick* ProbeClick(int i) {
    return &records.at(size_t(i)).click;
}
OVC_EXPORT int32_t ProbeButton(int i) {
    return records.at(size_t(i)).button;
}
OVC_EXPORT void ProbeThrowOn(uint32_t command) {
    throwOn = command;
}
OVC_EXPORT void ProbeSendOn(uint32_t on, uint32_t message, uintptr_t w, intptr_t l, int times) {
    acts.push_back({on, message, w, l, times});
}
OVC_EXPORT int ProbeAnswerCount() {
    return int(answers.size());
}
OVC_EXPORT intptr_t ProbeAnswer(int i) {
    return answers.at(size_t(i));
}
OVC_EXPORT int ProbeDepth(int i) {
    return records.at(size_t(i)).depth;
}
OVC_EXPORT void ProbeStepping(int on) {
    stepping = on != 0;
}
