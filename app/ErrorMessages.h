#pragma once

#include <functional>
#include <string>

namespace brenvik {

class Platform;

// ErroreDaNumero's answers to its callers.
namespace errore {
constexpr int Retry = 0;
constexpr int Continue = 1;
constexpr int Irreversible = 2;
constexpr int Unlisted = 3;
} // namespace errore

// Shows the message of the error table for `number` (title "Errore") and turns the answer into
// one of the four results above; an unlisted number shows nothing and gives Unlisted.
int ErroreDaNumero(Platform& platform, int number);

// True when the table offers only OK for `number`, so that the answer can only be a retry.
bool offersOnlyOk(int number);

// The callers' pattern around one step: the step runs; on a failure ErroreDaNumero decides to
// retry it, to go on after it, or to end the program after `irreversibleText`; an unlisted
// failure shows `unlistedText` and goes on. An OK-only message whose retry fails again with the
// same number does not loop for ever: the second identical failure goes on after the step.
void runWithRetry(Platform& platform, const std::function<void()>& step, const std::string& irreversibleText,
                  const std::string& unlistedText);

} // namespace brenvik
