#include "classlib/units/UnitList.h"

#include "classlib/units/UnitGlobal.h"

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

// Runs one phase of a unit; what it throws is reported, never passed on.
void Run(const char* unit, const char* phase, void (*step)()) {
  if (!step) return;
  try {
    step();
  } catch (const std::exception& e) {
    ReportUnitFailure(unit, phase, e.what());
  } catch (...) {
    ReportUnitFailure(unit, phase, "unknown exception");
  }
}
}  // namespace

void ReportUnitFailure(const char* unit, const char* phase, const char* what) {
  std::string text = std::string(phase) + " of unit " + unit + " failed: " + what + "\n";
  OutputDebugStringA(text.c_str());
}

void RaiseUnitsNotStarted(const char* what) {
  throw EInvalidOperation(std::string(what) +
                          " is used before the class library's start-up list ran: call "
                          "InitializeUnits(ClasslibUnits()) first (and FinalizeUnits() at the end)");
}

void InitializeUnits(const std::vector<TUnitEntry>& units) {
  for (const TUnitEntry& u : units) {
    Run(u.Name, "Initialization", u.Initialize);
    Initialised().push_back(u);
  }
}

void FinalizeUnits() {
  auto& units = Initialised();
  while (!units.empty()) {
    TUnitEntry u = units.back();
    units.pop_back();
    Run(u.Name, "Finalization", u.Finalize);
  }
}
