// SPDX-License-Identifier: GPL-3.0-or-later
// Another program, or another Varnock, changing the settings file while Varnock changes it:
// real processes and real files, no stand-ins.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <random>
#include <thread>

#include "ArchiveSlotTable.h"
#include "PathHelpers.h"
#include "Registration.h"
#include "ScriptedPrompts.h"
#include "TemporaryFolder.h"
#include "Unregistration.h"
#include "ini/IniText.h"

namespace varnock {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::readBytes;
using testing::writeBytes;

// A child process running body, killed (if still running) and reaped when this goes.
class Child {
public:
    explicit Child(const std::function<int()>& body) : m_pid(::fork()) {
        if (m_pid == 0) {
            // Ends with the test, whatever becomes of it, and never returns into it.
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            int code = 1;
            try {
                code = body();
            } catch (...) {
            }
            ::_exit(code);
        }
    }
    ~Child() {
        if (m_pid > 0 && !m_reaped) {
            ::kill(m_pid, SIGKILL);
            wait();
        }
    }
    bool started() const { return m_pid > 0; }
    void kill() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
        }
    }
    // The child's exit code; -1 when it did not exit normally.
    int wait() {
        int status = 0;
        while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
        }
        m_reaped = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid;
    bool m_reaped = false;
};

enum class SaveStyle { ByRename, InPlace };

// The other program: every period it reads the file, adds "Key k=k" to [Other] and sets
// Tick=k in [Archives], and saves the whole file, by rename or (as the Windows profile API
// does) by truncating and writing in place. Writes its last k to done when stopped.
int otherProgram(const fs::path& ini, SaveStyle style, std::chrono::milliseconds period,
                 const fs::path& stop, const fs::path& done) {
    int k = 0;
    const auto deadline = std::chrono::steady_clock::now() + 2min;
    for (; !fs::exists(stop) && std::chrono::steady_clock::now() < deadline; ++k) {
        std::this_thread::sleep_for(period);
        const std::string text = readBytes(ini);
        const std::string n = std::to_string(k);
        auto changed = ini::withValue(text, "Other", "Key " + n, n);
        changed = ini::withValue(*changed, "Archives", "Tick", n).value_or(*changed);
        if (style == SaveStyle::ByRename) {
            writeBytes(fs::path(ini) += ".other", *changed);
            fs::rename(fs::path(ini) += ".other", ini);
        } else {
            writeBytes(ini, *changed);
        }
    }
    writeBytes(done, std::to_string(k));
    return 0;
}

class ConcurrentChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dataFiles);
        writeBytes(ini, "[Archives]\r\nArchive 0=Base.bsa\r\n[Other]\r\n");
    }

    RegistrationOutcome registerName(const std::string& name, testing::ScriptedPrompts& prompts) {
        writeBytes(dataFiles / name, name);
        return registerArchive(utf8FromPath(dataFiles / name), utf8FromPath(ini), prompts, progress)
            .outcome;
    }

    // Every line of the file is a section header or a key line, and each section is there once.
    void expectWellFormed(const std::string& text) {
        EXPECT_EQ(text.find("[Archives]"), text.rfind("[Archives]")) << text;
        EXPECT_EQ(text.find("[Other]"), text.rfind("[Other]")) << text;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t end = text.find("\r\n", pos);
            ASSERT_NE(end, std::string::npos) << "the file ends in the middle of a line";
            const std::string line = text.substr(pos, end - pos);
            EXPECT_TRUE(line.starts_with("[") || line.find('=') != std::string::npos) << line;
            pos = end + 2;
        }
    }

    testing::TemporaryFolder folder;
    fs::path ini = folder / "app.ini";
    fs::path dataFiles = folder / "Data Files";
    testing::ScriptedProgress progress;
};

TEST_F(ConcurrentChangeTest, AnotherProgramsChangesAreNeverLostAndItsSlotsNeverTaken) {
    for (const SaveStyle style : {SaveStyle::ByRename, SaveStyle::InPlace}) {
        for (const auto period : {1ms, 5ms, 20ms, 50ms}) {
            SCOPED_TRACE(std::string(style == SaveStyle::ByRename ? "by rename" : "in place") +
                         " every " + std::to_string(period.count()) + " ms");
            SetUp();
            const fs::path stop = folder / "stop";
            const fs::path done = folder / "done";
            fs::remove(stop);
            Child other([&] { return otherProgram(ini, style, period, stop, done); });
            ASSERT_TRUE(other.started());
            testing::ScriptedPrompts prompts;
            int registered = 0;
            // A file that changes every few milliseconds never settles: actions are refused,
            // each after a wait, so fewer rounds tell as much.
            const int rounds = period < 20ms ? 2 : 8;
            for (int round = 0; round < rounds; ++round) {
                const std::string name = "round" + std::to_string(round) + ".bsa";
                std::size_t warned = prompts.warned.size();
                const bool done = registerName(name, prompts) == RegistrationOutcome::Registered;
                EXPECT_NE(done, prompts.warned.size() > warned)
                    << "registration neither done nor told";
                registered += done;

                std::vector<ListEntry> list;
                for (const auto& slot : ArchiveSlotTable(ini).listRegistered()) {
                    list.push_back({slot.index, slot.value, slot.value == name});
                }
                if (!done || list.empty() || list.back().name != name) {
                    continue;
                }
                warned = prompts.warned.size();
                const std::size_t shown = prompts.shown.size();
                unregisterSelected(utf8FromPath(ini), list, prompts);
                EXPECT_EQ(prompts.shown.size(), shown + 1);
                EXPECT_TRUE(prompts.warned.size() > warned ||
                            prompts.shown.back() == "Archive(s) unregistered successfully.")
                    << prompts.shown.back();
            }
            writeBytes(stop, "");
            ASSERT_EQ(other.wait(), 0);
            const std::string text = readBytes(ini);
            expectWellFormed(text);
            const int written = std::stoi(readBytes(done));
            for (int k = 0; k < written; ++k) {
                const std::string n = std::to_string(k);
                EXPECT_EQ(SettingsFile(ini).read("Other", "Key " + n), n) << "lost Key " << n;
            }
            EXPECT_EQ(SettingsFile(ini).read("Archives", "Tick"), std::to_string(written - 1));
            EXPECT_EQ(ArchiveSlotTable(ini).readSlot(0), "Base.bsa");
            if (period >= 20ms) {
                EXPECT_GT(registered, 0) << "every registration was refused";
            }
        }
    }
}

TEST_F(ConcurrentChangeTest, AFileCaughtBetweenTruncationAndWritingIsReadAgain) {
    const std::string full = "[Archives]\r\nArchive 0=a.bsa\r\nArchive 1=b.bsa\r\n";
    writeBytes(ini, full);
    int truncated[2];
    ASSERT_EQ(::pipe(truncated), 0);
    // Saves in place as the Windows profile API does, with a pause after the truncation.
    Child writer([&] {
        std::ofstream(ini, std::ios::binary | std::ios::trunc).close();
        const bool told = ::write(truncated[1], "t", 1) == 1;
        std::this_thread::sleep_for(1ms);
        writeBytes(ini, full);
        return told ? 0 : 1;
    });
    char signal = 0;
    ASSERT_EQ(::read(truncated[0], &signal, 1), 1);
    const auto listed = ArchiveSlotTable(ini).listRegistered();
    EXPECT_EQ(listed.size(), 2u) << "the list was read from the half-written file";
    EXPECT_EQ(writer.wait(), 0);
    ::close(truncated[0]);
    ::close(truncated[1]);
}

TEST_F(ConcurrentChangeTest, TwoVarnocksRegisteringAtOnceLoseNoRegistration) {
    const auto registerHundred = [&](const std::string& prefix) {
        testing::ScriptedPrompts prompts;
        int registered = 0;
        for (int i = 0; i < 100; ++i) {
            registered += registerName(prefix + std::to_string(i) + ".bsa", prompts) ==
                          RegistrationOutcome::Registered;
        }
        // Exit code: how many were confirmed; the rest must have been told.
        return prompts.warned.size() + static_cast<std::size_t>(registered) == 100 ? registered
                                                                                   : 255;
    };
    Child first([&] { return registerHundred("first"); });
    Child second([&] { return registerHundred("second"); });
    const int confirmed = first.wait() + second.wait();
    const auto slots = ArchiveSlotTable(ini).listRegistered();
    EXPECT_EQ(slots.size(), 1u + static_cast<std::size_t>(confirmed))
        << "a confirmed registration is missing from the file";
    // Each saves every few milliseconds, so the other often finds the file just written and
    // some registrations are refused as "kept changing"; most must get through.
    EXPECT_GE(confirmed, 150) << "too many registrations were refused";
}

TEST_F(ConcurrentChangeTest, AKilledUnregistrationRemovesAllOrNone) {
    std::string before = "[Archives]\r\n";
    std::string after = "[Archives]\r\n";
    std::vector<ListEntry> list;
    for (int n = 0; n < 200; ++n) {
        const std::string line =
            "Archive " + std::to_string(n) + "=archive" + std::to_string(n) + ".bsa\r\n";
        before += line;
        if (n % 2 == 0) {
            after +=
                "Archive " + std::to_string(n / 2) + "=archive" + std::to_string(n) + ".bsa\r\n";
        }
        list.push_back({n, "archive" + std::to_string(n) + ".bsa", n % 2 == 1});
    }
    const auto unregisterInChild = [&] {
        return Child([&] {
            testing::ScriptedPrompts prompts;
            return unregisterSelected(utf8FromPath(ini), list, prompts) ==
                           Unregistration::Unregistered
                       ? 0
                       : 1;
        });
    };
    // Kills land anywhere from before the read to after the save.
    writeBytes(ini, before);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(unregisterInChild().wait(), 0);
    ASSERT_EQ(readBytes(ini), after);
    const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);

    std::mt19937 random(12345);
    int removed = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        writeBytes(ini, before);
        Child unregistering = unregisterInChild();
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (took.count() * 3 / 2)));
        unregistering.kill();
        unregistering.wait();
        const std::string text = readBytes(ini);
        ASSERT_TRUE(text == before || text == after) << "after attempt " << attempt;
        removed += text == after;
    }
    // Kills at random moments must have hit both sides of the save.
    EXPECT_GT(removed, 0);
    EXPECT_LT(removed, 100);
}

}  // namespace
}  // namespace varnock
