#include "document/PreviewSession.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using Outcome = PreviewSession::Outcome;

// A picture that is one number: the undo copy 0, a run with settings {v} shows v, or -1 when it
// is stopped midway. Every hook call is logged.
struct Picture {
    int value = 0;
    std::string log;
    PreviewSession session{{[this] {
                                log += "u";
                                return true;
                            },
                            [this] {
                                value = 0;
                                log += "b";
                            },
                            [this] { log += "c"; }}};

    PreviewSession::Run Runs(Outcome outcome) {
        return [this, outcome](const PreviewSession::Settings& s) {
            log += "r";
            if (outcome == Outcome::Done) value = int(s.at(0));
            if (outcome == Outcome::Stopped) value = -1;
            return outcome;
        };
    }
};

TEST(PreviewSession, OnlyCompleteRunsAreShownAppliedAndKept) {
    struct Step {
        char op; // p preview, a apply, o apply what is shown, l leave
        double setting;
        Outcome outcome;
        bool result;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int value;       // the picture after the last step
        const char* log; // u undo copy, r run, b put back, c change counted
    };
    const Outcome D = Outcome::Done, S = Outcome::Stopped, R = Outcome::Refused;
    const Case cases[] = {
        {"same settings run once", {{'p', 5, D, true}, {'p', 5, D, true}}, 5, "ur"},
        {"left unapplied", {{'p', 5, D, true}, {'l', 0, D, true}}, 0, "urb"},
        {"left untouched", {{'p', 5, R, false}, {'l', 0, D, true}}, 0, "ur"},
        {"stopped is never applied",
         {{'p', 5, S, false}, {'o', 5, D, false}, {'l', 0, D, true}},
         0,
         "urb"},
        {"stopped then run again", {{'p', 5, S, false}, {'a', 5, D, true}}, 5, "urrc"},
        {"every apply counts", {{'a', 5, D, true}, {'a', 5, D, true}}, 5, "urcc"},
        {"applied comes back",
         {{'a', 5, D, true}, {'p', 7, D, true}, {'l', 0, D, true}},
         5,
         "urcrr"},
        {"applied stays", {{'a', 5, D, true}, {'l', 0, D, true}}, 5, "urc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Picture p;
        ASSERT_TRUE(p.session.Start());
        for (const Step& s : c.steps) {
            bool result = true;
            if (s.op == 'p') result = p.session.Preview({s.setting}, p.Runs(s.outcome));
            if (s.op == 'a') result = p.session.Apply({s.setting}, p.Runs(s.outcome));
            if (s.op == 'o') result = p.session.ApplyShown({s.setting});
            if (s.op == 'l') p.session.Leave(p.Runs(s.outcome));
            EXPECT_EQ(result, s.result) << s.op;
        }
        EXPECT_EQ(p.value, c.value);
        EXPECT_EQ(p.log, c.log);
    }
}

TEST(PreviewSession, NothingRunsWithoutTheUndoCopy) {
    bool ran = false;
    PreviewSession session({[] { return false; }, {}, {}});
    EXPECT_FALSE(session.Start());
    EXPECT_FALSE(session.Apply({1}, [&](const PreviewSession::Settings&) {
        ran = true;
        return Outcome::Done;
    }));
    session.Leave();
    EXPECT_FALSE(ran);
}

} // namespace
