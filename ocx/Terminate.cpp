// The server's own terminate handler. An exception that reaches std::terminate ends the host
// process either way; the library's default handler would first print the exception's type,
// and its name demangler alone adds some 45 KB to the server.
#include <cstdlib>

namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
