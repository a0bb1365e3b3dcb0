// The association lookup on this system, against a default application
// that the test installs for plain text in its own XDG folders, at a path
// with a blank.

#include "launch/Execfile.h"
#include "platform/association.h"

#include "launch_test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <optional>

namespace {

using ::testing::ElementsAre;

class Association : public ::testing::Test {
protected:
    // GIO reads its folders once, so they are set up before its first use.
    static void SetUpTestSuite()
    {
        root.emplace();
        setenv("XDG_DATA_HOME", (*root / "data").c_str(), 1);
        setenv("XDG_CONFIG_HOME", (*root / "config").c_str(), 1);
        std::filesystem::create_directories(*root / "data/applications");
        std::filesystem::create_directories(*root / "config");
        std::filesystem::create_directories(*root / "My Apps");
        std::filesystem::copy_file(ARGV_RECORDER, Viewer());
        launchtest::WriteFile(*root / "data/applications/qz-viewer.desktop",
                              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=\"" + Viewer() +
                                  "\" %f\nMimeType=text/plain;\n");
        launchtest::WriteFile(*root / "config/mimeapps.list",
                              "[Default Applications]\ntext/plain=qz-viewer.desktop\n");
        launchtest::WriteFile(Document(), "Some notes.\n");
    }
    static void TearDownTestSuite() { root.reset(); }

    static std::string Viewer() { return *root / "My Apps/viewer"; }
    static std::string Document() { return *root / "My Notes.txt"; }

    static inline std::optional<launchtest::TempDir> root;
};

TEST_F(Association, FindsTheDefaultApplicationOfTheDocumentsType)
{
    std::array<char, 256> result{};
    EXPECT_GE(platform::FindAssociatedExecutable(Document(), "", result), platform::AssociationFound);
    EXPECT_EQ(std::string(result.data()), Viewer());

    result.fill('\0');
    EXPECT_GE(platform::FindAssociatedExecutable("My Notes.txt", root->Path().string(), result),
              platform::AssociationFound)
        << "a name relative to the given directory";
    EXPECT_EQ(std::string(result.data()), Viewer());
}

TEST_F(Association, FailuresAreBelow32WithTheLastErrorSet)
{
    launchtest::WriteFile(*root / "blob.qzx", std::string("\x7f\x01\x02\x03\x00\x00\xfe\xff", 8));
    struct Case {
        std::string document;
        std::intptr_t result;
        int error;
    };
    const Case cases[] = {
        {*root / "missing.txt", platform::AssociationFileNotFound, ENOENT},
        {"", platform::AssociationFileNotFound, ENOENT},
        {*root / "blob.qzx", platform::AssociationNotFound, ENOENT},
        {Document() + " --flag", platform::AssociationFileNotFound, ENOENT},
    };
    for (const Case& c : cases) {
        std::array<char, 256> result{};
        errno = 0;
        EXPECT_EQ(platform::FindAssociatedExecutable(c.document, "", result), c.result) << c.document;
        EXPECT_EQ(errno, c.error) << c.document;
    }
}

TEST_F(Association, PathTooLongForTheBufferIsAFailureNotACutPath)
{
    std::array<char, 8> small{};
    EXPECT_LT(platform::FindAssociatedExecutable(Document(), "", small), platform::AssociationFound);
    EXPECT_EQ(small[0], '\0');
}

TEST_F(Association, ExecuteOpensTheDocumentWithItsProgram)
{
    const std::string record = *root / "record";
    setenv("QZ_RECORD", record.c_str(), 1);
    TExecFile launcher;
    launcher.Associate = true;
    launcher.Wait = true;
    launcher.WaitStyle = wSuspend;
    launcher.CommandLine = Document();
    EXPECT_TRUE(launcher.Execute()) << "error " << launcher.ErrorCode();
    unsetenv("QZ_RECORD");
    EXPECT_EQ(launcher.ExecutablePath(), Viewer());
    // Neither the blank in the program's path nor the one in the document's
    // name splits them.
    EXPECT_THAT(launchtest::ReadRecord(record).argv, ElementsAre(Viewer(), Document()));
}

} // namespace
