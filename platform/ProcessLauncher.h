#pragma once
// Starts another program the way the product does: by its path alone, with no
// arguments and no shell, detached from us. A desktop entry (.desktop file) is
// started as the desktop starts it, through GLib's GDesktopAppInfo (its Exec line is
// split into words, never handed to a shell).
#include <string>

#include <sys/types.h>

namespace pallix {

// The new process's id, or -1 when the path is not an existing, readable,
// executable regular file or the start failed. The child gets only stdin, stdout
// and stderr of ours, default signal handling, and its own session; it is reaped
// when it ends, so it never lingers as a zombie.
pid_t SpawnProgram(const std::string& path);

enum class LaunchKind { kNone, kDesktopEntry, kProgram };

struct LaunchTarget {
    LaunchKind kind = LaunchKind::kNone;
    std::string name;  // the entry's Name, or the program's file name without extension
};

// What a chosen file is to the launcher: a desktop entry of an application the
// desktop can start, an executable program, or nothing that can be launched.
LaunchTarget DescribeLaunchTarget(const std::string& path);

// 1 when the program or the desktop entry's application was started, 0 otherwise.
int LaunchProgram(const std::string& path);

// What keeps the desktop from opening this document: xdg-open missing, or no
// application that declares it opens files of its content type. Empty when nothing
// is known to be missing.
std::string DesktopOpenProblem(const std::string& path);

}  // namespace pallix
