/* The Wine desktop for a test run, made before the first test and kept.
   Asking for the desktop window makes Wine start its explorer, which owns
   the desktop and inherits this program's streams (all detached by the
   caller), and waits until it is up. Then "ready" is printed and the program
   stays, one more user of the desktop, until the wineserver is stopped: Wine
   closes a desktop a second after its last user other than explorer left. */
#include <stdio.h>
#include <windows.h>

int main(void) {
  if (!GetDesktopWindow()) return 1;
  puts("ready");
  fflush(stdout);
  Sleep(INFINITE);
  return 0;
}
