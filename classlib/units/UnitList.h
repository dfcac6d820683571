// The one ordered initialisation list.
//
// Units that need start-up work (atoms, registered classes, window messages,
// hooks) expose an entry; the program (and each test executable) names every
// entry it links, in the order the system's start-up needs, and runs them
// before its own logic. Nothing relies on the order of static constructors
// across files.
#pragma once

#include <cstddef>
#include <vector>

struct TUnitEntry {
  const char* Name;
  void (*Initialize)();  // may be null
  void (*Finalize)();    // may be null
};

// Runs each entry's Initialize in order. An entry that throws is reported
// (OutputDebugString) and the rest still run; nothing is thrown out.
void InitializeUnits(const std::vector<TUnitEntry>& units);
// Runs Finalize of the initialised entries in reverse order; nothing thrown.
void FinalizeUnits();
// How a failing step of a unit is reported (OutputDebugString): "<phase> of
// unit <unit> failed: <what>". For a unit that reports one failure of its
// own and carries on with the rest of its step.
void ReportUnitFailure(const char* unit, const char* phase, const char* what);
// The class library's own entries, in their start-up order.
const std::vector<TUnitEntry>& ClasslibUnits();
