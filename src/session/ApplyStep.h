#pragma once

#include "session/Step.h"

#include <cstdint>

namespace vorn {

// Reads all six results (Level, Body, Build, Loose XP, Total XP, XP/BP Ratio); throws the rules' error
// when one can't be counted. A character that fails this is never kept, nor read from a file.
template <typename Rules> void requireCountable(const Rules& character)
{
    (void)character.level();
    (void)character.body();
    (void)character.xpBPRatio();
    (void)character.TotalXP();
}

// An event as its Add adds it, the window's check of the silver included: false, and the character
// unchanged, when the window would refuse the silver (more than the event's XP without training).
template <typename Rules> bool addEventAsTheWindowDoes(Rules& c, int16_t length, double trainingCoin)
{
    if (length < 0)
        return false;
    if (trainingCoin != -1.0 && !(trainingCoin >= 0 && trainingCoin <= c.getXPForEvent(length, 0)))
        return false;
    c.addBuild(length, trainingCoin);
    requireCountable(c);
    return true;
}

// One event of a plan: first, unless it is the plan's first, the blankets between events as Add X
// Blankets adds them; then the event as its Add adds it.
template <typename Rules>
bool addPlannedEventTo(Rules& c, int16_t length, double trainingCoin, int32_t blanketsBetween, bool first)
{
    if (!first && blanketsBetween > 0) {
        c.addBlankets(blanketsBetween);
        requireCountable(c);
    }
    return addEventAsTheWindowDoes(c, length, trainingCoin);
}

// Applies a step to the character before it exactly as the calculator applies it: the one road of the
// session, of a file's replay and of the fuzz target (which runs it with its step-by-step reference rules
// as the oracle for the figures). False when the window would not have taken the step's inputs. Throws
// the rules' errors where a result can't be counted; the character is then partly changed, so callers
// work on a copy.
template <typename Rules> bool applyStep(Rules& c, const Step& step)
{
    switch (step.kind) {
    case Step::Kind::Set:
        if (step.build < 15 || step.looseXP < 0)
            return false;
        c.setBuild(step.build);
        c.setLooseXP(step.looseXP);
        break;
    case Step::Kind::Reset:
    case Step::Kind::NewCharacter:
        c.setBuild(30);
        c.setLooseXP(0);
        break;
    case Step::Kind::Event:
        return addEventAsTheWindowDoes(c, step.eventLength, step.trainingCoin);
    case Step::Kind::Blankets:
        c.addBlankets(step.blankets);
        break;
    case Step::Kind::Plan:
        for (int32_t n = 0; n < step.events; ++n)
            if (!addPlannedEventTo(c, step.eventLength, step.trainingCoin, step.blankets, n == 0))
                return false;
        break;
    }
    requireCountable(c);
    return true;
}

} // namespace vorn
