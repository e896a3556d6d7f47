// libstdc++'s default terminate handler prints the uncaught exception's
// demangled type name to stderr. A program with no console has nowhere to show
// it, and the demangler alone is a twentieth of the exe, so this stand-in only
// aborts. It is the handler until start-up puts the program's own in place,
// which restores what the program changed before it aborts.
#include <cstdlib>

#if defined(__GLIBCXX__)

namespace __gnu_cxx {
void __verbose_terminate_handler() {
    abort();
}
} // namespace __gnu_cxx
#endif
