#pragma once
// A kernel or file system that lacks a system call, met on a machine whose
// kernel has it: the code runs on a thread of its own under a seccomp filter
// that answers that one call with a chosen error number. The filter binds
// only that thread, so the rest of the test program is untouched.

#include <functional>

// Runs `body` with `syscallNumber` (a SYS_ constant) failing with `error` and
// rethrows what it throws. Returns false, without running it, when the
// kernel takes no filter here.
bool RunWithSyscallRefused(long syscallNumber, int error, const std::function<void()>& body);
