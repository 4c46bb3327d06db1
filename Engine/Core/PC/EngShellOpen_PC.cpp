#include "Engine/Core/PC/EngShellOpen_PC.h"

#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngMain.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"

extern char** environ;

namespace {

constexpr int kMaxOpeners = 16;
constexpr char kOpener[] = "xdg-open";
constexpr double kOpenerPoll = 0.01;

// Our openers that have not been collected yet. Ended ones are collected so they do not linger as zombies;
// one still running (a browser started in the foreground) is left alone. Main thread only.
pid_t s_openers[kMaxOpeners];
int s_opener_count = 0;

void CollectEndedOpeners()
{
    int kept = 0;
    for (int i = 0; i < s_opener_count; i++) {
        if (waitpid(s_openers[i], nullptr, WNOHANG) == 0)
            s_openers[kept++] = s_openers[i];
    }
    s_opener_count = kept;
}

void RememberOpener(pid_t child)
{
    if (s_opener_count < kMaxOpeners)
        s_openers[s_opener_count++] = child;
}

bool IsExecutableFile(const char* path)
{
    struct stat info = {};
    return stat(path, &info) == 0 && S_ISREG(info.st_mode) && access(path, X_OK) == 0;
}

// The opener as posix_spawnp finds it: the first executable file of that name in a folder of PATH.
bool OpenerOnPath()
{
    const char* path = std::getenv("PATH");
    if (!path)
        return false;
    while (*path) {
        const char* end = std::strchr(path, ':');
        size_t length = end ? size_t(end - path) : std::strlen(path);
        char candidate[1024];
        // An empty entry is the working folder.
        int written = length == 0 ? std::snprintf(candidate, sizeof(candidate), "%s", kOpener)
                                  : std::snprintf(candidate, sizeof(candidate), "%.*s/%s", int(length), path, kOpener);
        if (written > 0 && size_t(written) < sizeof(candidate) && IsExecutableFile(candidate))
            return true;
        if (!end)
            break;
        path = end + 1;
    }
    return false;
}

}  // namespace

bool EngShellCanOpen_PC()
{
    if (EngMessageBoxIsNonInteractive_PC()) {
        DebugInfoQuick(ENG_FUNC, "Nothing is opened without a person");
        return false;
    }
    if (OpenerOnPath())
        return true;
    DebugError(ENG_FUNC, "No %s found on PATH", kOpener);
    return false;
}

void EngShellWaitForOpeners_PC(double seconds)
{
    double end = EngMainUpdateTime() + seconds;
    CollectEndedOpeners();
    while (s_opener_count > 0 && EngMainUpdateTime() < end) {
        EngMiscSleep(kOpenerPoll);
        CollectEndedOpeners();
    }
}

bool EngShellOpen_PC(const char* target)
{
    if (!target || !*target) {
        DebugError(ENG_FUNC, "Nothing to open");
        return false;
    }
    if (EngMessageBoxIsNonInteractive_PC()) {
        DebugInfoQuick(ENG_FUNC, "Not opening <%s> without a person", target);
        return false;
    }
    CollectEndedOpeners();
    char program[sizeof(kOpener)];
    std::snprintf(program, sizeof(program), "%s", kOpener);
    char* arguments[] = {program, const_cast<char*>(target), nullptr};
    pid_t child = 0;
    int error = posix_spawnp(&child, program, nullptr, nullptr, arguments, environ);
    if (error != 0) {
        DebugError(ENG_FUNC, "Could not start xdg-open for <%s> (error %d)", target, error);
        return false;
    }
    RememberOpener(child);
    return true;
}
