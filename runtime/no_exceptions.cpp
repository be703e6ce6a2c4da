// The shipped programs are built without exceptions. The C++ library still has throw
// points (allocation, string length and range checks, std::function); with GCC's library
// these call the std::__throw_* hooks below, and without them the linker would bring in
// the whole exception runtime (unwinder, type information, exception strings): more than
// half of the controller's size. Every one of these conditions is a program fault or an
// exhausted heap, so the program says what happened and ends.
//
// Built only for GCC's C++ library (other libraries have their own throw paths), and only
// into the program executables, never into the tests.
#include <cstddef>  // defines __GLIBCXX__ with GCC's library

#if defined(__GLIBCXX__)

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

[[noreturn]] void EndProgram(const char* what)
{
    static const char kPrefix[] = "Fatal error: ";
    HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
    DWORD written = 0;
    const bool console = error != nullptr && error != INVALID_HANDLE_VALUE
                         && ::GetFileType(error) != FILE_TYPE_UNKNOWN
                         && ::WriteFile(error, kPrefix, sizeof(kPrefix) - 1, &written, nullptr)
                         && ::WriteFile(error, what, static_cast<DWORD>(std::strlen(what)), &written, nullptr)
                         && ::WriteFile(error, "\r\n", 2, &written, nullptr);
    if (!console)
        ::FatalAppExitA(0, what);  // shows the text, then ends the program
    ::TerminateProcess(::GetCurrentProcess(), 3);
    std::abort();
}

void* Allocate(std::size_t size)
{
    void* block = std::malloc(size ? size : 1);
    if (!block)
        EndProgram("out of memory");
    return block;
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace std {

void __throw_bad_exception() { EndProgram("bad exception"); }
void __throw_bad_alloc() { EndProgram("out of memory"); }
void __throw_bad_array_new_length() { EndProgram("bad array length"); }
void __throw_bad_cast() { EndProgram("bad cast"); }
void __throw_bad_typeid() { EndProgram("bad typeid"); }
void __throw_logic_error(const char* what) { EndProgram(what); }
void __throw_domain_error(const char* what) { EndProgram(what); }
void __throw_invalid_argument(const char* what) { EndProgram(what); }
void __throw_length_error(const char* what) { EndProgram(what); }
void __throw_out_of_range(const char* what) { EndProgram(what); }
void __throw_out_of_range_fmt(const char* what, ...) { EndProgram(what); }
void __throw_runtime_error(const char* what) { EndProgram(what); }
void __throw_range_error(const char* what) { EndProgram(what); }
void __throw_overflow_error(const char* what) { EndProgram(what); }
void __throw_underflow_error(const char* what) { EndProgram(what); }
void __throw_bad_function_call() { EndProgram("empty function called"); }

}  // namespace std

#endif
