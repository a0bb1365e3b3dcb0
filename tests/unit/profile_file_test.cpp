// The Linux profile files on a real disk, in a temporary settings folder:
// where a bare file name lives, what a write leaves behind, and that every
// failure is reported and leaves the file as it was.

#include "platform/profile.h"

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string Contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void Store(const fs::path& path, const std::string& text)
{
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

fs::perms Permissions(const fs::path& path) { return fs::status(path).permissions(); }

class ProfileFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (fs::temp_directory_path() / "quorzane-profile-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        ::setenv("XDG_CONFIG_HOME", (root_ / "config").c_str(), 1);
    }

    void TearDown() override
    {
        for (const auto& entry : fs::recursive_directory_iterator(root_))
            if (!entry.is_symlink())
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(root_);
    }

    fs::path Folder() const { return root_ / "config" / "quorzane"; }
    fs::path File() const { return Folder() / "QRVN.INI"; }

    // Files in the settings folder other than QRVN.INI: leftovers of a write.
    int Leftovers() const
    {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(Folder()))
            count += entry.path().filename() != "QRVN.INI";
        return count;
    }

    static bool Write(const std::string& key, const std::string& value)
    {
        return platform::WritePrivateProfileString("OPTIONS", key, value, "QRVN.INI");
    }

    static std::string Read(const std::string& key, std::size_t bufferSize = 1024)
    {
        return platform::GetPrivateProfileString("OPTIONS", key, "<default>", bufferSize, "QRVN.INI");
    }

    fs::path root_;
};

TEST_F(ProfileFile, BareNameLivesInThePrivateSettingsFolderCreatedAtTheFirstWrite)
{
    EXPECT_EQ(Read("EVENT1"), "<default>");
    EXPECT_FALSE(fs::exists(root_ / "config"));

    ASSERT_TRUE(Write("EVENT1", "?"));
    EXPECT_EQ(Contents(File()), "[OPTIONS]\nEVENT1=?\n");
    EXPECT_EQ(Permissions(Folder()), fs::perms::owner_all);
    EXPECT_EQ(Read("Event1"), "?");
    EXPECT_TRUE(Write("EVENT1", "?")) << "a value written again";
    EXPECT_EQ(Leftovers(), 0);
}

TEST_F(ProfileFile, WritesKeepEveryOtherByte)
{
    const std::string before = "; settings\r\n\r\n[Other]\r\nEVENT1 = mine\r\n\r\n"
                               "[options]\r\n  event3  =  old  \r\nX=1\r\n\r\n[Last]\r\nY=2";
    Store(File(), before);
    ASSERT_TRUE(Write("EVENT3", "new"));
    ASSERT_TRUE(Write("EVENT5", "five"));
    EXPECT_EQ(Contents(File()), "; settings\r\n\r\n[Other]\r\nEVENT1 = mine\r\n\r\n"
                                "[options]\r\n  event3  =  new  \r\nX=1\r\nEVENT5=five\r\n\r\n[Last]\r\nY=2");
}

TEST_F(ProfileFile, FailedWritesAreReportedAndChangeNothing)
{
    struct Case {
        const char* name;
        void (*spoil)(const fs::path& folder, const fs::path& file);
    };
    const Case cases[] = {
        {"read-only file",
         [](const fs::path&, const fs::path& file) {
             fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
         }},
        {"read-only folder",
         [](const fs::path& folder, const fs::path&) {
             fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
         }},
    };
    for (const Case& c : cases) {
        Store(File(), "[OPTIONS]\nEVENT1=old\n");
        c.spoil(Folder(), File());
        EXPECT_FALSE(Write("EVENT1", "new")) << c.name;
        EXPECT_FALSE(Write("EVENT2", "new")) << c.name;
        EXPECT_FALSE(Write("EVENT1", "old")) << c.name << ", value unchanged";
        EXPECT_EQ(Contents(File()), "[OPTIONS]\nEVENT1=old\n") << c.name;
        EXPECT_EQ(Leftovers(), 0) << c.name;
        fs::permissions(Folder(), fs::perms::owner_all);
        fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);
    }
}

TEST_F(ProfileFile, SomethingElseThanAFileInItsPlaceReadsAsMissingAndIsNotReplaced)
{
    fs::create_directories(File());
    EXPECT_EQ(Read("EVENT1"), "<default>");
    EXPECT_FALSE(Write("EVENT1", "new"));
    EXPECT_TRUE(fs::is_directory(File()));

    fs::remove(File());
    ASSERT_EQ(::mkfifo(File().c_str(), 0600), 0);
    EXPECT_EQ(Read("EVENT1"), "<default>") << "a pipe without a writer must not block the read";
    EXPECT_FALSE(Write("EVENT1", "new"));
    EXPECT_TRUE(fs::is_fifo(File()));
}

TEST_F(ProfileFile, AFullDiskIsReportedAndLeavesTheOldFile)
{
    Store(File(), "[OPTIONS]\nEVENT1=old\n");
    // A file-size limit makes the disk "full" after 64 bytes for this process.
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit small = oldLimit;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);

    const bool written = Write("EVENT1", std::string(500, 'x'));

    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(Contents(File()), "[OPTIONS]\nEVENT1=old\n");
    EXPECT_EQ(Leftovers(), 0);
}

TEST_F(ProfileFile, AReplacedFileKeepsItsPermissionsAndItsLink)
{
    Store(File(), "[OPTIONS]\n");
    fs::permissions(File(), fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(Write("EVENT1", "a"));
    EXPECT_EQ(Permissions(File()), fs::perms::owner_read | fs::perms::owner_write);

    const fs::path real = root_ / "dotfiles" / "qrvn.ini";
    Store(real, "[OPTIONS]\n");
    fs::remove(File());
    fs::create_symlink(real, File());
    ASSERT_TRUE(Write("EVENT1", "b"));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_EQ(Contents(real), "[OPTIONS]\nEVENT1=b\n");
    EXPECT_EQ(Read("EVENT1"), "b");
}

// As dotfile managers set things up: a chain of links, relative ones among
// them, often made before the file they point to exists.
TEST_F(ProfileFile, WritesGoThroughEveryLinkToTheFileAtTheEndAndCreateItWhenMissing)
{
    const fs::path repository = root_ / "dotfiles";
    const fs::path real = repository / "quorzane" / "QRVN.INI";
    fs::create_directories(Folder());
    fs::create_directories(repository);
    fs::create_symlink("../../dotfiles/linked.ini", File());
    fs::create_symlink("quorzane/QRVN.INI", repository / "linked.ini");

    EXPECT_EQ(Read("EVENT1"), "<default>");
    ASSERT_TRUE(Write("EVENT1", "a"));
    ASSERT_TRUE(Write("EVENT2", "b"));
    EXPECT_TRUE(fs::is_symlink(File()));
    EXPECT_TRUE(fs::is_symlink(repository / "linked.ini"));
    EXPECT_EQ(Contents(real), "[OPTIONS]\nEVENT1=a\nEVENT2=b\n");
    EXPECT_EQ(Read("EVENT2"), "b");

    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(Write("EVENT1", "c"));
    EXPECT_EQ(Permissions(real), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(real.parent_path()), fs::directory_iterator()), 1)
        << "no temporary file is left beside the file";

    // A loop of links is refused and stays as it is.
    fs::remove(repository / "linked.ini");
    fs::create_symlink(File(), repository / "linked.ini");
    EXPECT_FALSE(Write("EVENT1", "d"));
    EXPECT_TRUE(fs::is_symlink(File()));
}

TEST_F(ProfileFile, ReadsDeliverAtMostOneCharacterLessThanTheBuffer)
{
    ASSERT_TRUE(Write("EVENT1", std::string(2000, 'c')));
    EXPECT_EQ(Read("EVENT1"), std::string(1023, 'c'));
    EXPECT_EQ(Read("EVENT1", 5), "cccc");
    EXPECT_EQ(Read("EVENT1", 0), "");
    EXPECT_EQ(Read("EVENT9", 4), "<de");
}

TEST_F(ProfileFile, ANameWithAFolderIsUsedAsItStands)
{
    const fs::path elsewhere = root_ / "elsewhere" / "deeper" / "x.ini";
    ASSERT_TRUE(platform::WritePrivateProfileString("S", "K", "v", elsewhere.string()));
    EXPECT_EQ(Contents(elsewhere), "[S]\nK=v\n");
    EXPECT_EQ(platform::GetPrivateProfileString("s", "k", "", 1024, elsewhere.string()), "v");
    EXPECT_FALSE(fs::exists(Folder()));
}

} // namespace
