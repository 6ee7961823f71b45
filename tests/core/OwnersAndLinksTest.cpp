// Owners, modes, permissions and links are POSIX's; Windows has its own
// rules for them, which these tests do not speak of.
#include "PageFileFixture.h"
#include "SteppingFileSystem.h"
#include "core/options/OptionsFile.h"
#include "core/store/NotebookLock.h"
#include "core/store/NotebookOnDisk.h"

#ifndef _WIN32
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr uid_t kNobody = 65534;

class OwnersAndLinks : public PageFile {};

TEST_F(OwnersAndLinks, ALinkedNotebookIsReplacedBehindItsLinkWithItsPermissions)
{
    fs::create_directory("real");
    writeBytes("real/notes.kel", record("before"));
    fs::permissions("real/notes.kel", fs::perms(0640));
    fs::create_symlink("real/notes.kel", "kel.kel");
    load();
    store.nachname(u"after");
    save();
    EXPECT_TRUE(fs::is_symlink("kel.kel"));
    EXPECT_EQ(readBytes("real/notes.kel"), record("after"));
    EXPECT_EQ(fs::status("real/notes.kel").permissions(), fs::perms(0640));
    EXPECT_FALSE(fs::exists("keltemp.kel"));
    EXPECT_FALSE(fs::exists("real/keltemp.kel"));
}

// No file is readable by more people at any moment than the notebook it
// replaces or belongs to; a new one in a fresh folder follows the umask.
TEST_F(OwnersAndLinks, EveryFileIsBornPrivateAndTakesTheNotebooksMode)
{
    const mode_t mask = ::umask(022);
    struct Case {
        const char* what;
        std::function<void()> meanwhile;
        fs::perms notebook;
    };
    const Case cases[] = {
        {"saved in place", [] {}, fs::perms(0600)},
        {"replaced by another program with a wider mode",
         [] {
             writeBytes("incoming", record("theirs"));
             fs::permissions("incoming", fs::perms(0644));
             fs::rename("incoming", "kel.kel");
         },
         fs::perms(0600)},
        {"deleted", [] { fs::remove("kel.kel"); }, fs::perms(0600)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder own;
        writeBytes("kel.kel", record("mine"));
        fs::permissions("kel.kel", fs::perms(0600));
        BusinessDataTier notebook(dialogs);
        NotebookOnDisk disk(FileSystem::native(), "kel.kel");
        ::PageFile::ReadInfo found;
        ASSERT_FALSE(notebook.leseDatei("kel.kel", found));
        disk.read(found, notebook.pages().snapshot(), 0);
        notebook.nachname(u"changed");
        c.meanwhile();
        SteppingFileSystem files;
        fs::perms temporary{};
        files.before = [&](const std::string& step, const std::string&) {
            if (step == "facts" && fs::exists("keltemp.kel") && temporary == fs::perms{})
                temporary = fs::status("keltemp.kel").permissions() & fs::perms::mask;
        };
        const ::PageFile::Expected expected = disk.expected();
        ::PageFile::Saved saved;
        ASSERT_FALSE(::PageFile::write(files, "kel.kel", "keltemp.kel", notebook.pages(), &expected, saved));
        EXPECT_EQ(fs::status("kel.kel").permissions() & fs::perms::mask, c.notebook);
        EXPECT_EQ(temporary & (fs::perms::group_all | fs::perms::others_all), fs::perms::none);

        ASSERT_FALSE(OptionsFile::write("optionen.kel", Options{}));
        EXPECT_EQ(fs::status("optionen.kel").permissions() & fs::perms::mask, fs::perms(0600))
            << "new options take the notebook's mode";
    }
    TempFolder fresh;
    ASSERT_FALSE(OptionsFile::write("optionen.kel", Options{}));
    EXPECT_EQ(fs::status("optionen.kel").permissions() & fs::perms::mask, fs::perms(0644)) << "the umask's";
    std::unique_ptr<OpenedFile> created;
    ASSERT_FALSE(FileSystem::native().createNew("new", created));
    EXPECT_EQ(fs::status("new").permissions() & fs::perms::mask, fs::perms(0600));
    ::umask(mask);
}

// What is checked is what is used: a name switched to a link, or a folder
// swapped for a link to another, between the look and the write leads
// nowhere else.
TEST_F(OwnersAndLinks, ANameSwitchedToALinkBetweenCheckAndUseRedirectsNothing)
{
    writeBytes("victim", std::string(300, 'v'));
    SteppingFileSystem files;
    files.before = [](const std::string& step, const std::string&) {
        if (step == "openForUpdate") {
            fs::remove("optionen.kel");
            fs::create_symlink("victim", "optionen.kel");
        }
    };
    std::unique_ptr<OpenedFile> opened;
    bool created = false;
    writeBytes("optionen.kel", "");
    const auto error = files.openForUpdate("optionen.kel", opened, created);
    ASSERT_TRUE(error);
    EXPECT_EQ(readBytes("victim"), std::string(300, 'v'));

    fs::create_directory("notes");
    fs::create_directory("elsewhere");
    writeBytes("notes/kel.kel", record("mine"));
    std::optional<FileError> opening;
    auto held = FileSystem::openFolder("notes", opening);
    ASSERT_TRUE(held);
    fs::rename("notes", "moved");
    fs::create_directory_symlink("elsewhere", "notes");
    PageList pages;
    ::PageFile::ReadInfo found;
    ASSERT_FALSE(::PageFile::readExisting(*held, "kel.kel", pages, found));
    ::PageFile::Saved saved;
    ASSERT_FALSE(::PageFile::write(*held, "kel.kel", "keltemp.kel", pages, nullptr, saved));
    EXPECT_TRUE(fs::is_empty("elsewhere")) << "the folder held open is the one written";
    EXPECT_EQ(readBytes("moved/kel.kel"), record("mine"));
}

TEST_F(OwnersAndLinks, ATemporaryFileThatIsALinkIsNotFollowed)
{
    writeBytes("kel.kel", record("mine"));
    writeBytes("victim", "untouched");
    fs::create_symlink("victim", "keltemp.kel");
    load();
    save();
    EXPECT_EQ(readBytes("victim"), "untouched");
    EXPECT_EQ(readBytes("kel.kel"), record("mine"));
}

TEST_F(OwnersAndLinks, ASaveIntoAReadOnlyFolderFailsAndLeavesTheNotebookAsItWas)
{
    const std::string original = record("kept");
    writeBytes("kel.kel", original);
    fs::permissions(folder.path(), fs::perms(0755));
    fs::permissions("kel.kel", fs::perms(0666));
    const int code = runAsUnprivilegedUser([&] {
        RecordingDialogs childDialogs;
        BusinessDataTier child(childDialogs);
        if (child.leseDatei("kel.kel"))
            return 1; // reading needs no write access
        child.nachname(u"changed");
        const auto error = child.schreibeDatei("Kelmo-Note");
        if (!error)
            return 2;
        if (error->reason.empty() || error->file.find("keltemp.kel") == std::string::npos)
            return 3;
        return child.nachname().substr(0, 7) == u"changed" ? 0 : 4;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readBytes("kel.kel"), original);
    EXPECT_FALSE(fs::exists("keltemp.kel"));
}

TEST(UnreadableFiles, ANotebookAndOptionsTheUserMayNotReadAreReportedNotReplaced)
{
    TempFolder folder;
    writeBytes("kel.kel", record("secret"));
    writeBytes("optionen.kel", std::string(258, '\x01'));
    fs::permissions(folder.path(), fs::perms(0777));
    fs::permissions("kel.kel", fs::perms(0600));
    fs::permissions("optionen.kel", fs::perms(0600));
    const int code = runAsUnprivilegedUser([] {
        RecordingDialogs dialogs;
        BusinessDataTier store(dialogs);
        const auto error = store.leseDatei("kel.kel");
        if (!error || error->reason.find("ermission") == std::string::npos)
            return 1;
        Options options;
        return OptionsFile::read(OptionsFile::kName, options) ? 0 : 2;
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(readBytes("kel.kel"), record("secret"));
}

TEST_F(OwnersAndLinks, WritesKeepOwnersAndModesAndRefuseWhatTheyMustNotTouch)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand files to another user";
    writeBytes("kel.kel", record("theirs"));
    ASSERT_EQ(::chown("kel.kel", kNobody, kNobody), 0);
    fs::permissions("kel.kel", fs::perms(0604));
    load();
    store.nachname(u"root was here");
    save();
    struct stat info {};
    ASSERT_EQ(::stat("kel.kel", &info), 0);
    EXPECT_EQ(info.st_uid, kNobody) << "root's save leaves the notebook its owner's";
    EXPECT_EQ(info.st_gid, kNobody);
    EXPECT_EQ(info.st_mode & 07777, 0604u);

    struct Case {
        const char* what;
        std::function<void()> arrange;
        const char* reason;
    };
    const Case refusals[] = {
        {"a read-only notebook", [] { fs::permissions("kel.kel", fs::perms(0444)); }, "read-only"},
        {"someone else's link to our file",
         [] {
             fs::rename("kel.kel", "real.kel");
             fs::create_symlink("real.kel", "kel.kel");
             ASSERT_EQ(::lchown("kel.kel", kNobody, kNobody), 0);
         },
         "link"},
        {"a pipe",
         [] {
             fs::remove("kel.kel");
             ASSERT_EQ(::mkfifo("kel.kel", 0644), 0);
         },
         "not a regular file"},
    };
    for (const Case& c : refusals) {
        SCOPED_TRACE(c.what);
        fs::remove("kel.kel");
        fs::remove("real.kel");
        writeBytes("kel.kel", record("before"));
        load();
        c.arrange();
        const std::string before = fs::is_fifo("kel.kel") ? std::string() : readBytes("kel.kel");
        store.nachname(u"after");
        auto error = store.schreibeDatei("Kelmo-Note");
        ASSERT_TRUE(error);
        EXPECT_NE(error->reason.find(c.reason), std::string::npos) << error->reason;
        if (!before.empty()) {
            EXPECT_EQ(readBytes("kel.kel"), before);
        }
        EXPECT_EQ(store.nachname().substr(0, 5), u"after") << "the pages stay";
        EXPECT_FALSE(fs::exists("keltemp.kel"));
        auto readError = store.leseDatei("kel.kel");
        EXPECT_EQ(fs::is_fifo("kel.kel"), readError.has_value()) << "a pipe is refused, never waited on";
    }

    // A link that belongs to the owner of its file is followed.
    fs::remove("kel.kel");
    writeBytes("real.kel", record("linked"));
    ASSERT_EQ(::chown("real.kel", kNobody, kNobody), 0);
    fs::create_symlink("real.kel", "kel.kel");
    ASSERT_EQ(::lchown("kel.kel", kNobody, kNobody), 0);
    load();
    store.nachname(u"through the link");
    save();
    EXPECT_EQ(readBytes("real.kel"), record("through the link"));
}

TEST(OptionsPlaces, APipeIsRefusedAndALinkOfAnotherUserIsNotWrittenThrough)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to hand a link to another user";
    TempFolder folder;
    ASSERT_EQ(::mkfifo(OptionsFile::kName, 0644), 0);
    Options options;
    EXPECT_TRUE(OptionsFile::read(OptionsFile::kName, options));
    EXPECT_TRUE(OptionsFile::write(OptionsFile::kName, options));

    fs::remove(OptionsFile::kName);
    writeBytes("elsewhere", std::string(300, 'z'));
    fs::create_symlink("elsewhere", OptionsFile::kName);
    ASSERT_EQ(::lchown(OptionsFile::kName, kNobody, kNobody), 0);
    EXPECT_TRUE(OptionsFile::write(OptionsFile::kName, {1, 2, 3}));
    EXPECT_EQ(readBytes("elsewhere"), std::string(300, 'z'));

    ASSERT_EQ(::lchown(OptionsFile::kName, 0, 0), 0);
    EXPECT_FALSE(OptionsFile::write(OptionsFile::kName, {1, 2, 3}));
    const std::string bytes = readBytes("elsewhere");
    EXPECT_EQ(bytes.substr(0, 2), std::string("\x01\x00", 2));
    EXPECT_EQ(bytes.substr(258), std::string(42, 'z')) << "bytes past the options stay";
}

// How the store sees the file on disk after others have been at it.
TEST(NotebookLocks, EveryPathToOneNotebookMeetsTheSameLock)
{
    TempFolder folder;
    fs::create_directory("notes");
    writeBytes("notes/kel.kel", record("x"));
    fs::create_directory_symlink("notes", "same-folder");
    fs::create_directory("other");
    fs::create_symlink("../notes/kel.kel", "other/kel.kel");

    NotebookLock first;
    ASSERT_EQ(first.take("notes/kel.kel"), NotebookLock::Outcome::Taken);
    for (const char* path : {"same-folder/kel.kel", "other/kel.kel"}) {
        NotebookLock second;
        EXPECT_EQ(second.take(path), NotebookLock::Outcome::HeldElsewhere) << path;
        EXPECT_EQ(second.identity(), first.identity()) << path;
    }
}

} // namespace

#else

TEST(OwnersAndLinks, AreNotTriedOnWindows)
{
    GTEST_SKIP() << "POSIX owners, modes and links do not exist on Windows";
}

#endif
