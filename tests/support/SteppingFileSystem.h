#pragma once

#include "core/store/FileSystem.h"

#include <functional>
#include <string>

// The real file system, with a test's hand between the steps: `before` runs
// ahead of every primitive, named as the interface names it, with the path
// it is called on, so that a test can do what another program would do at
// that moment. `noExchange` plays a file system that cannot swap files.
class SteppingFileSystem : public FileSystem {
public:
    std::function<void(const std::string& step, const std::string& path)> before;
    bool noExchange = false;

    std::optional<FileError> facts(const std::string& path, FileFacts& result) override
    {
        step("facts", path);
        return real().facts(path, result);
    }
    std::optional<FileError> writeTarget(const std::string& path, std::string& target) override
    {
        step("writeTarget", path);
        return real().writeTarget(path, target);
    }
    std::optional<FileError> openForReading(const std::string& path,
                                            std::unique_ptr<OpenedFile>& file) override
    {
        step("openForReading", path);
        return real().openForReading(path, file);
    }
    std::optional<FileError> createNew(const std::string& path, std::unique_ptr<OpenedFile>& file) override
    {
        step("createNew", path);
        return real().createNew(path, file);
    }
    std::optional<FileError> openForUpdate(const std::string& path, std::unique_ptr<OpenedFile>& file,
                                           bool& created) override
    {
        step("openForUpdate", path);
        return real().openForUpdate(path, file, created);
    }
    std::optional<FileError> remove(const std::string& path) override
    {
        step("remove", path);
        return real().remove(path);
    }
    std::optional<FileError> replace(const std::string& from, const std::string& to) override
    {
        step("replace", to);
        return real().replace(from, to);
    }
    std::optional<FileError> renameToNew(const std::string& from, const std::string& to, bool& taken) override
    {
        step("renameToNew", to);
        return real().renameToNew(from, to, taken);
    }
    std::optional<FileError> exchange(const std::string& from, const std::string& to,
                                      bool& unsupported) override
    {
        step("exchange", to);
        unsupported = noExchange;
        if (noExchange)
            return FileError{to, "Invalid argument"};
        return real().exchange(from, to, unsupported);
    }
    bool folderGone() override { return real().folderGone(); }
    void syncFolder(const std::string& folder) override
    {
        step("syncFolder", folder);
        real().syncFolder(folder);
    }

private:
    static FileSystem& real() { return FileSystem::native(); }
    void step(const char* name, const std::string& path)
    {
        if (before)
            before(name, path);
    }
};
