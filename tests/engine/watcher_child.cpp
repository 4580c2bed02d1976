// A child for the watcher's tests and benchmark.
//   watcher_child BEATS-NAME N  counts N beats, 1 ms apart, into the shared counter BEATS-NAME
//                               (so that its parent sees whether it runs), then exits with 7
//   watcher_child idle          waits until its parent ends it (at most ten minutes)
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "idle") == 0) {
    Sleep(600000);
    return 3;
  }
  if (argc != 3) return 2;
  HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, argv[1]);
  if (!mapping) return 4;
  auto* beats = static_cast<volatile LONG*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, sizeof(LONG)));
  if (!beats) return 4;
  const LONG target = std::atol(argv[2]);
  while (*beats < target) {
    InterlockedIncrement(beats);
    Sleep(1);
  }
  return 7;
}
