#include "document/processhardening.h"

#include <sys/prctl.h>
#include <sys/resource.h>

void DisableCoreDumps()
{
    // Both limits, so nothing run later in the process can raise them again.
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
    // Also refuses ptrace by the same user and a core piped to a handler,
    // which the limit alone does not stop.
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}
