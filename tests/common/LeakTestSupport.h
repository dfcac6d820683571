// Counting the process's GDI and USER handles, for the tests that make,
// paint and free things again and again and look for what stayed behind.
//
// Wine's GetGuiResources is a stub that answers 0 (ERROR_CALL_NOT_IMPLEMENTED),
// so there the counts come from where Wine keeps the handles: the process's
// GDI handle table, which Wine keeps where Windows keeps its own, and, for
// the USER objects, this thread's windows and the menus.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "classlib/System.h"

namespace leak_test {

// The GDI objects this process holds (regions included).
int GdiObjectCount();
// The GDI regions among them. Wine's own painting of windows holds regions
// for a while, more or fewer as the X server's timing goes, so a count of
// windows painted over many rounds leaves them out.
int RegionCount();
// The windows of this thread, children included.
int ThreadWindowCount();
// The menus of this process.
int MenuCount();

struct THandleCounts {
  int Gdi = 0;   // GDI objects but regions
  int User = 0;  // USER objects: GetGuiResources, or under Wine the thread's windows and the menus
};
THandleCounts CountHandles();

// Runs round twice (the first uses fill caches: glyphs, fonts, stock
// objects), then ten times more: the GDI objects (regions included) and the
// thread's windows must not have grown. Rounds should use hidden windows:
// the display makes a shown window's surface when it gets round to it.
void ExpectNoHandleGrowth(const std::function<void()>& round);

// The registered component classes whose names begin with prefix, but the
// abstract ones.
std::vector<TClass> RegisteredComponentClasses(std::string_view prefix);

// What a program does with components of these classes, once: each control
// on one shown form (a form class is a shown form of its own), painted
// focused in turn and unfocused, disabled and enabled again, its window
// made anew, then freed with the form; every other component made and
// freed. A step that raises fails the test, naming the class.
void ChurnComponents(const std::vector<TClass>& classes);

// ChurnComponents twice (what lives for the program is made then), then
// for rounds more (at least 3): the GDI objects but regions and the USER
// objects stay flat. The GDI count may have grown by two: Wine's DC cache
// keeps the DCs of the most paints that ever overlapped, which a loaded
// machine may raise by one or two; a class that leaks leaks in every
// round, so three rounds already show one object a round.
void ExpectChurnLeavesNoHandles(const std::vector<TClass>& classes, int rounds);

}  // namespace leak_test
