#include "tests/support/temp_home.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testsupport {

TempHome::TempHome() {
    std::string pattern = (std::filesystem::temp_directory_path() / "dravolin-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
    if (const char* prev = std::getenv("DRAVOLIN_HOME")) { previous_ = prev; hadPrevious_ = true; }
    setenv("DRAVOLIN_HOME", path_.c_str(), 1);
}

TempHome::~TempHome() {
    if (hadPrevious_) setenv("DRAVOLIN_HOME", previous_.c_str(), 1);
    else unsetenv("DRAVOLIN_HOME");
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace testsupport
