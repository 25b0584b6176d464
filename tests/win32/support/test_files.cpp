#include "tests/win32/support/test_files.h"

#include <fstream>
#include <iterator>

TempFolder::TempFolder()
{
    char base[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, base);
    path_ = std::string(base) + "panelhost-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((path_ + "\\*").c_str(), &found);
    while (find != INVALID_HANDLE_VALUE) {
        const std::string name = found.cFileName;
        if (name != "." && name != "..") {
            const std::string full = path_ + "\\" + name;
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                RemoveDirectoryA(full.c_str());
            else
                DeleteFileA(full.c_str());
        }
        if (!FindNextFileA(find, &found)) {
            FindClose(find);
            break;
        }
    }
    RemoveDirectoryA(path_.c_str());
}

std::vector<BYTE> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WriteBytes(const std::string& path, const std::vector<BYTE>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
