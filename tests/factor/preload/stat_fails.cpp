// Preloaded into a program, makes one stat() of one file fail as if the
// file had gone: what a program sees when a file it found a moment before
// is renamed away and back.  QRN4_STAT_FAILS names the file as the program
// passes it, QRN4_STAT_FAILS_CALL which of its lookups fails (1 the first).
#include <dlfcn.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern "C" int stat(const char* path, struct stat* buffer) noexcept
{
    using stat_function = int (*)(const char*, struct stat*);
    static const auto real_stat = reinterpret_cast<stat_function>(dlsym(RTLD_NEXT, "stat"));
    static int calls = 0;
    const char* name = std::getenv("QRN4_STAT_FAILS");
    const char* call = std::getenv("QRN4_STAT_FAILS_CALL");
    if (name && call && std::strcmp(path, name) == 0 && ++calls == std::atoi(call)) {
        errno = ENOENT;
        return -1;
    }
    return real_stat(path, buffer);
}
