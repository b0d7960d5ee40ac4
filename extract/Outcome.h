#pragma once
// How a run of the extraction worker ended, as the front ends read it. The
// end message WM_EXTRACT_DONE carries the same outcome as its two numbers:
// (1, 0) the work has ended (done or cancelled), (0, 1) the output folder
// cannot be created, (0, 2) wrong password, (0, 3) a failure that the
// worker describes as data.

#include <cstdint>

enum class TExtractOutcome {
    eoDone,                // every file is in place
    eoCancelled,           // stopped at a cancel before the work was done
    eoPasswordRefused,     // the library needed a password and the user gave none
    eoOutputFolderFailed,  // the output folder cannot be created
    eoWrongPassword,       // the password test failed
    eoFailed,              // anything else: see the worker's Failure()
};

constexpr uintptr_t OutcomeWParam(TExtractOutcome outcome)
{
    return outcome == TExtractOutcome::eoDone || outcome == TExtractOutcome::eoCancelled ||
                   outcome == TExtractOutcome::eoPasswordRefused
               ? 1
               : 0;
}

constexpr intptr_t OutcomeLParam(TExtractOutcome outcome)
{
    switch (outcome) {
    case TExtractOutcome::eoOutputFolderFailed: return 1;
    case TExtractOutcome::eoWrongPassword: return 2;
    case TExtractOutcome::eoFailed: return 3;
    default: return 0;
    }
}
