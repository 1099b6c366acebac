#pragma once
// A fresh temporary folder that stands in for the program folder (DRAVOLIN_HOME)
// for the lifetime of the object; removed afterwards.
#include <string>

namespace testsupport {

class TempHome {
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    const std::string& path() const { return path_; }
    // Path of a file or folder inside the temporary folder.
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
    std::string previous_;
    bool hadPrevious_ = false;
};

// Writes bytes to a file, creating parent folders.
void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);

}  // namespace testsupport
