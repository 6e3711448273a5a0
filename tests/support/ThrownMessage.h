#pragma once

#include <string>

namespace corvalis::testing {

// Runs `action`; returns what() of the exception of type E it throws, or "(nothing thrown)".
template <class E, class F>
std::string ThrownMessage(F&& action) {
  try {
    action();
  } catch (const E& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

}  // namespace corvalis::testing
