// Files for the tests that run a host: a folder of the test's own, and
// whole files read and written as bytes.
#ifndef CALENDAR_TESTS_TEST_FILES_H
#define CALENDAR_TESTS_TEST_FILES_H

#include <windows.h>

#include <string>
#include <vector>

// A folder of its own under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    std::string Path(const std::string& name) const { return path_ + "\\" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

std::vector<BYTE> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes);
bool FileExists(const std::string& path);

#endif
