// Guards of the data folder: one server at a time, and only a folder (and a
// database) the server can actually write.
#pragma once

#include <string>

namespace postvane::devserver {

// An exclusive lock on "<folder>/postvane.lock", held while the object lives.
// The file keeps the holder's process id so a refused server can name it.
class DataFolderLock
{
public:
    DataFolderLock() = default;
    ~DataFolderLock();
    DataFolderLock(const DataFolderLock &) = delete;
    DataFolderLock &operator=(const DataFolderLock &) = delete;

    // False with error when another process holds the lock or the file
    // cannot be opened.
    bool acquire(const std::string &folder, std::string &error);

private:
    int m_fd = -1;
};

// False with error naming path and the reason when the process may not write
// the folder (or, for a file, when it exists and may not be read and written).
bool checkWritableFolder(const std::string &folder, std::string &error);
bool checkWritableFile(const std::string &path, std::string &error);

} // namespace postvane::devserver
