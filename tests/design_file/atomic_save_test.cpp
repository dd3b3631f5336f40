// Saving atomically: the new text whole, the old file's permissions kept, nothing left behind.
// A save that fails is the command line's test (design_file_program_test).
#include "design_file/atomic_save.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

class AtomicSave : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() /
                   ("orvalex-kep-save-" + std::to_string(getpid()) + "-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

    static std::string Contents(const fs::path& path) {
        std::ifstream file(path, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        return text.str();
    }
    std::size_t Entries() const {
        return std::size_t(std::distance(fs::directory_iterator(m_folder), {}));
    }

    fs::path m_folder;
};

TEST_F(AtomicSave, WritesANewFile) {
    EXPECT_EQ(design_file::SaveAtomically(m_folder / "a.okep", "{}\n"), "");
    EXPECT_EQ(Contents(m_folder / "a.okep"), "{}\n");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(AtomicSave, ReplacesAFileAndKeepsItsPermissions) {
    const fs::path target = m_folder / "a.okep";
    { std::ofstream(target) << "old text, longer than the new"; }
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(design_file::SaveAtomically(target, "new"), "");
    EXPECT_EQ(Contents(target), "new");
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Entries(), 1u);
}

} // namespace
