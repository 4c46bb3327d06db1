#include "Engine/Core/PC/EngShellOpen_PC.h"

#include <spawn.h>
#include <sys/wait.h>

#include "Engine/Core/EngDebug.h"
#include "Engine/Core/EngString.h"
#include "Engine/Core/PC/EngMessageBox_PC.h"

extern char** environ;

namespace {

constexpr int kMaxOpeners = 16;

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

}  // namespace

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
    char program[] = "xdg-open";
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
