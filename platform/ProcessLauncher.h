#pragma once
// Starts another program the way the product does: by its path alone, with no
// arguments and no shell, detached from us.
#include <string>

#include <sys/types.h>

namespace pallix {

// The new process's id, or -1 when the path is not an existing, readable,
// executable regular file or the start failed. The child gets only stdin, stdout
// and stderr of ours, default signal handling, and its own session; it is reaped
// when it ends, so it never lingers as a zombie.
pid_t SpawnProgram(const std::string& path);

// 1 when the program was started, 0 otherwise.
int LaunchProgram(const std::string& path);

}  // namespace pallix
