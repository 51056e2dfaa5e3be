// Preloaded into the sanitizer build's test processes (and the programs they start), so that leak
// detection at exit sees every library that was ever loaded. Mesa's driver is unloaded when SDL
// closes the display; its static data, which still points at what it allocated, goes with it, and
// that memory would then be reported as lost, from code with no name to suppress it by. With no
// library unloaded, what a library still holds counts as reachable, and a real loss is reported
// with its library's name.
#include <dlfcn.h>

extern "C" int dlclose(void*)
{
    return 0;
}
