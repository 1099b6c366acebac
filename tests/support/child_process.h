#pragma once
// Runs part of a test in a forked child: to kill it at a chosen moment, or to meet
// file modes as an ordinary user does (root is not refused by them).
#include <functional>
#include <string>

#include <sys/types.h>

namespace testsupport {

// Starts `body` in a child, which ends with its result as exit status (an escaped
// exception gives 99). With `asOrdinaryUser`, a root child first becomes nobody.
pid_t startChild(const std::function<int()>& body, bool asOrdinaryUser = false);
// Waits for the child: its exit status, or 128 + the signal that ended it.
int waitChild(pid_t pid);
// startChild then waitChild.
int runInChild(const std::function<int()>& body, bool asOrdinaryUser = false);

// In a child only: a root process becomes nobody, so that file modes bind it. False
// when that fails.
bool becomeOrdinaryUser();

// In a child only: mounts an empty file system of `bytes` bytes over `folder`, seen by
// this process alone, so that writing there meets a full disk. False when the system
// does not allow it (no privilege to mount).
bool mountSmallDisk(const std::string& folder, long bytes);

// Lets the ordinary user of a child read, write and enter `path` and everything below.
void openToEveryone(const std::string& path);

}  // namespace testsupport
