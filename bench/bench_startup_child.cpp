// One start-up, for bench/wine-startup.sh, which starts it under Wine the way
// Windows starts the installed program and times it from outside:
//
//   bench_startup_child velmira   runVelmira(), quitting once the loop has run
//   bench_startup_child bare      a plain 510x775 QMainWindow, the same way

#include "startupchild.h"

#include <cstdio>
#include <cstring>

int main(int argc, char *argv[])
{
    if (argc != 2 || (std::strcmp(argv[1], "velmira") != 0 && std::strcmp(argv[1], "bare") != 0)) {
        std::fprintf(stderr, "usage: %s velmira|bare\n", argv[0]);
        return 2;
    }
    return runStartupChild(argc, argv, argv[1]);
}
