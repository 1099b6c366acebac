#pragma once
// Starting other programs with an argument vector and no shell, so that no file name
// can turn into shell syntax. Injectable so that tests see what would be started.
#include <string>
#include <string_view>
#include <vector>

namespace sys {

class Spawner {
public:
    virtual ~Spawner() = default;
    // Starts the program and does not wait; 0 or the errno of the failed start.
    virtual int start(const std::vector<std::string>& argv) = 0;
    // Runs the program to its end; 0 or the errno of the failed start. The exit status
    // is -1 when the program did not exit normally. Standard output is kept in
    // `output` when it is given.
    virtual int run(const std::vector<std::string>& argv, int& exitStatus,
                    std::string* output = nullptr) = 0;
};

// The spawner in force: the system's unless a test installed another.
Spawner& spawner();
// The caller keeps ownership; nullptr restores the system's.
void setSpawner(Spawner* s);

// Splits a command line at blanks outside double quotes; the quotes themselves are
// dropped ("a b" stays one argument).
std::vector<std::string> splitArguments(std::string_view commandLine);

// The default printer: $PRINTER, else the destination `lpstat -d` names; "" when none.
std::string defaultPrinter();

}  // namespace sys
