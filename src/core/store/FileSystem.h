#pragma once

#include "FileError.h"
#include "FileStamp.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// What a path leads to, after every link.
struct FileFacts {
    bool exists = false;
    bool regular = false;
    bool directory = false;
    // The user may not write it: no write permission, or Windows' read-only flag.
    bool readOnly = false;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint32_t mode = 0;
    FileStamp stamp;
};

// A file opened by the file system below.
class OpenedFile {
public:
    virtual ~OpenedFile() = default;
    // Reads exactly `size` bytes; a file that ends before is an error.
    [[nodiscard]] virtual std::optional<FileError> read(char* data, std::size_t size) = 0;
    [[nodiscard]] virtual std::optional<FileError> write(const char* data, std::size_t size) = 0;
    // Writes at `offset`, wherever the file stands; past its end the gap is zeros.
    [[nodiscard]] virtual std::optional<FileError> writeAt(std::uint64_t offset, const char* data,
                                                           std::size_t size) = 0;
    // Puts what was written on the disk itself, past every cache.
    [[nodiscard]] virtual std::optional<FileError> sync() = 0;
    // Gives the file the owner, group and mode of `model`, as far as this
    // process may set them.
    virtual void takeOwnerAndMode(const FileFacts& model) = 0;
    // Gives a file made private the mode a new file in its folder gets
    // (the umask's), where there is no file to take it from.
    virtual void takeUsualMode() = 0;
    virtual FileFacts facts() = 0;
    // Closes now and reports the result, which for a written file can be the
    // first sign of a failed write.
    [[nodiscard]] virtual std::optional<FileError> close() = 0;
};

// The few file primitives the notebook's files are kept with, one
// implementation per platform, so that the steps of reading and saving are
// written once. Paths are UTF-8.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // The platform's own, in the working directory.
    static FileSystem& native();
    // The platform's own, with relative paths taken in `folder`, which is
    // held open from now on: where the working directory goes, or the
    // folder's path leads elsewhere, this still reaches the same folder.
    static std::unique_ptr<FileSystem> openFolder(const std::string& folder, std::optional<FileError>& error);

    [[nodiscard]] virtual std::optional<FileError> facts(const std::string& path, FileFacts& result) = 0;
    // The file a write to `path` lands on, after every link. A link is
    // followed only where it belongs to the user running the program or to
    // the owner of the file at its end, so that a link someone else planted
    // cannot lead our writes to a file of theirs.
    [[nodiscard]] virtual std::optional<FileError> writeTarget(const std::string& path,
                                                               std::string& target) = 0;
    // Opens a plain file for reading without waiting: a pipe is refused.
    [[nodiscard]] virtual std::optional<FileError> openForReading(const std::string& path,
                                                                  std::unique_ptr<OpenedFile>& file) = 0;
    // Creates a file that must not exist yet, never through a link, readable
    // by the user alone until it is given a mode.
    [[nodiscard]] virtual std::optional<FileError> createNew(const std::string& path,
                                                             std::unique_ptr<OpenedFile>& file) = 0;
    // Opens a plain file of the user's for reading and writing, made
    // private where it is missing, never through a link and never
    // shortened. `created` says whether it was made.
    [[nodiscard]] virtual std::optional<FileError>
    openForUpdate(const std::string& path, std::unique_ptr<OpenedFile>& file, bool& created) = 0;
    // Removes a file; one that is not there is no error.
    [[nodiscard]] virtual std::optional<FileError> remove(const std::string& path) = 0;
    // Renames `from` over `to` in one step.
    [[nodiscard]] virtual std::optional<FileError> replace(const std::string& from,
                                                           const std::string& to) = 0;
    // Renames `from` to `to` only where nothing is at `to` yet; `taken` says
    // whether that was why it failed.
    [[nodiscard]] virtual std::optional<FileError> renameToNew(const std::string& from, const std::string& to,
                                                               bool& taken) = 0;
    // Swaps the files at `from` and `to` in one step, so that `to` is never
    // missing and `from` then holds what `to` held. `unsupported` says that
    // this file system cannot (network and FAT file systems); nothing moved.
    [[nodiscard]] virtual std::optional<FileError> exchange(const std::string& from, const std::string& to,
                                                            bool& unsupported) = 0;
    // Makes renames in the folder durable, where the system can.
    virtual void syncFolder(const std::string& folder) = 0;
    // Whether the folder relative paths are taken in has been removed.
    virtual bool folderGone() = 0;

    // Refuses a folder, pipe, socket or device in the place of a file,
    // without opening it (opening a pipe would wait for a writer). Nothing
    // there is fine.
    [[nodiscard]] std::optional<FileError> refuseUnlessPlain(const std::string& path);

    // The folder part of a path ("" for none), and a name inside a folder.
    static std::string folderOf(const std::string& path);
    static std::string nameOf(const std::string& path);
    static std::string inFolder(const std::string& folder, const std::string& name);
};
