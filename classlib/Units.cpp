#include "classlib/Units.h"

#include <exception>
#include <string>

#include "classlib/Win.h"

namespace {
// The initialised entries, for finalisation in reverse: process-wide because
// start-up is.
std::vector<TUnitEntry>& Initialised() {
  static std::vector<TUnitEntry> units;
  return units;
}

void Report(const char* unit, const char* phase, const char* what) {
  std::string text = std::string(phase) + " of unit " + unit + " failed: " + what + "\n";
  OutputDebugStringA(text.c_str());
}
}  // namespace

void InitializeUnits(const std::vector<TUnitEntry>& units) {
  for (const TUnitEntry& u : units) {
    try {
      if (u.Initialize) u.Initialize();
    } catch (const std::exception& e) {
      Report(u.Name, "Initialization", e.what());
    } catch (...) {
      Report(u.Name, "Initialization", "unknown exception");
    }
    Initialised().push_back(u);
  }
}

void FinalizeUnits() {
  auto& units = Initialised();
  while (!units.empty()) {
    TUnitEntry u = units.back();
    units.pop_back();
    try {
      if (u.Finalize) u.Finalize();
    } catch (const std::exception& e) {
      Report(u.Name, "Finalization", e.what());
    } catch (...) {
      Report(u.Name, "Finalization", "unknown exception");
    }
  }
}
