// SPDX-License-Identifier: GPL-3.0-or-later
// A settings file that another process keeps locked: the save gives up within seconds, with
// a reason, and leaves the file as it was.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "../SampleSettings.h"
#include "../SettingsFileFixture.h"

namespace varnock {
namespace {

using testing::kRealistic;
using testing::readBytes;
using testing::SettingsFileTest;
using testing::writeBytes;

// A child process that holds an exclusive flock on file until it is killed.
class LockHolder {
public:
    explicit LockHolder(const std::filesystem::path& file) {
        int ready[2];
        if (::pipe(ready) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            const int fd = ::open(file.c_str(), O_RDONLY);
            const char told = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 'y' : 'n';
            (void)::write(ready[1], &told, 1);
            for (;;) {
                ::pause();
            }
        }
        ::close(ready[1]);
        char told = 'n';
        m_locked = ::read(ready[0], &told, 1) == 1 && told == 'y';
        ::close(ready[0]);
    }
    ~LockHolder() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    bool locked() const { return m_locked; }

private:
    pid_t m_pid = -1;
    bool m_locked = false;
};

TEST_F(SettingsFileTest, AFileAnotherProcessKeepsLockedIsLeftAloneWithinSeconds) {
    writeBytes(ini, kRealistic);
    const LockHolder holder(ini);
    ASSERT_TRUE(holder.locked()) << "the other process could not lock the file";

    const auto started = std::chrono::steady_clock::now();
    const Status saved = file.write("Archives", "Archive 0", "New.bsa");
    const auto took = std::chrono::steady_clock::now() - started;

    EXPECT_FALSE(saved) << "expected the save to fail while the file is locked";
    EXPECT_NE(saved.reason().find("locked"), std::string::npos) << saved.reason();
    EXPECT_LT(took, std::chrono::seconds(6)) << "the save waited too long for the lock";
    EXPECT_EQ(readBytes(ini), kRealistic);
    EXPECT_EQ(folder.listing(), "app.ini");
}

}  // namespace
}  // namespace varnock
