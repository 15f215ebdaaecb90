// What the program does when an exception escapes or std::terminate is called: it ends at once.
//
// The C++ library's default handler writes "terminate called after throwing an instance of ..."
// to standard error, demangling the type's name first; a windowed program has no standard error,
// and the demangler alone is 46 KB of the exe. Defining the handler here keeps the library's
// copy (and the demangler) out of the link. Only KPSetup.exe gets this file: the test programs
// keep the library's handler, whose message says which exception escaped.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() { std::abort(); }

}  // namespace __gnu_cxx
