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

// Lets the ordinary user of a child read, write and enter `path` and everything below.
void openToEveryone(const std::string& path);

}  // namespace testsupport
