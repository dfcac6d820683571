// What every benchmark shares: the clock, interleaved medians and one line
// per result in the form scripts/bench collects into its table.
//
// A result compares our code with a baseline doing the same work, measured
// in the same run: the two are timed in turn, at least five times each, so
// that a machine that slows down slows both alike; each side's median is
// taken. The goal is the largest ratio (ours / baseline) that is met.
//
// Printed line:  result<TAB>benchmark<TAB>case<TAB>ours ms<TAB>baseline ms<TAB>ratio<TAB>goal<TAB>met|missed
// (a note, without a goal: note<TAB>benchmark<TAB>case<TAB>ours ms<TAB>baseline ms<TAB>ratio)
// Benchmarks run in the release configuration (scripts/bench): a checked
// build's pixel accessors would measure the checks.
#pragma once

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "classlib/Win.h"

namespace bench {

inline double Now() {
  LARGE_INTEGER c, f;
  QueryPerformanceCounter(&c);
  QueryPerformanceFrequency(&f);
  return double(c.QuadPart) / double(f.QuadPart);
}

// Milliseconds f takes once.
inline double Time(const std::function<void()>& f) {
  double t0 = Now();
  f();
  return (Now() - t0) * 1000.0;
}

inline double MedianOf(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// One side of a comparison: what is timed, and what must be done untimed
// before each timing (emptying a list that the timed part fills).
struct TSide {
  std::function<void()> Run;
  std::function<void()> Setup = {};
};

// The medians of ours and of the baseline over `runs` turns (at least 5),
// baseline first in each turn. Each side runs once before timing starts, so
// that first-call costs (caches, lazily made objects) are not counted.
inline std::pair<double, double> Medians(const TSide& ours, const TSide& baseline, int runs = 7) {
  runs = std::max(runs, 5);
  auto once = [](const TSide& side) {
    if (side.Setup) side.Setup();
    return Time(side.Run);
  };
  once(baseline);
  once(ours);
  std::vector<double> a, b;
  for (int i = 0; i < runs; ++i) {
    b.push_back(once(baseline));
    a.push_back(once(ours));
  }
  return {MedianOf(a), MedianOf(b)};
}

inline std::pair<double, double> Medians(const std::function<void()>& ours, const std::function<void()>& baseline,
                                         int runs = 7) {
  return Medians(TSide{ours}, TSide{baseline}, runs);
}

// Prints one result; true when the goal is met.
inline bool Report(const std::string& benchmark, const std::string& name, double ours, double baseline,
                   double goal) {
  double ratio = baseline > 0 ? ours / baseline : 1e9;
  bool met = ratio <= goal;
  std::printf("result\t%s\t%s\t%.3f\t%.3f\t%.3f\t%.3f\t%s\n", benchmark.c_str(), name.c_str(), ours, baseline,
              ratio, goal, met ? "met" : "missed");
  std::fflush(stdout);
  return met;
}

// A figure printed beside the results for reading them (a floor no code of
// ours can go below, another way of doing the baseline's work): no goal.
inline void Note(const std::string& benchmark, const std::string& name, double ours, double baseline) {
  std::printf("note\t%s\t%s\t%.3f\t%.3f\t%.3f\n", benchmark.c_str(), name.c_str(), ours, baseline,
              baseline > 0 ? ours / baseline : 1e9);
  std::fflush(stdout);
}

// A benchmark that cannot measure (a wrong result, a failed call).
inline void Fail(const std::string& benchmark, const std::string& why) {
  std::printf("failed\t%s\t%s\n", benchmark.c_str(), why.c_str());
  std::fflush(stdout);
}

}  // namespace bench
