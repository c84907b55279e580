// SPDX-License-Identifier: GPL-3.0-or-later
// Windows shows programs that run without administrator rights their own copy of a file under
// "Program Files" that they could not write: %LOCALAPPDATA%\VirtualStore\<the path under the
// drive>. The other application may then read that copy rather than the file chosen.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "UserPrompts.h"

namespace varnock {

// The folders that decide it, as the environment names them (UTF-8; empty when unset).
struct ProgramFolders {
    std::string localAppData;     // LOCALAPPDATA
    std::string programFiles;     // ProgramFiles
    std::string programFilesX86;  // ProgramFiles(x86)
    std::string programW6432;     // ProgramW6432

    // From this process's environment; all empty outside Windows.
    static ProgramFolders fromEnvironment();
};

// Whether path lies in one of the program folders (compared without regard to ASCII case and
// to the kind of separator).
bool inProgramFolder(std::string_view path, const ProgramFolders& folders);

// The VirtualStore copy's full path, if path lies in a program folder and that copy exists.
std::optional<std::string> virtualStoreCopy(std::string_view path, const ProgramFolders& folders);

// The file under a program folder whose VirtualStore copy path is, whether or not it exists.
std::optional<std::string> virtualStoreOriginal(std::string_view path,
                                                const ProgramFolders& folders);

// The "Data Files" folders where the other application finds archives for the settings file
// at iniPath: the one beside it and, for a VirtualStore copy, the program folder's, where
// Windows lets a program read what it has not written itself.
std::vector<std::string> dataFilesFolders(std::string_view iniPath, const ProgramFolders& folders);

// What the user is told on choosing a file that has such a copy.
std::string virtualStoreNotice(std::string_view copy);

// The prompts of an action on a settings file in a program folder: a refusal of access to save
// it also names the ways on.
class ProgramFolderPrompts final : public UserPrompts {
public:
    ProgramFolderPrompts(UserPrompts& prompts, std::string_view iniPath,
                         const ProgramFolders& folders);

    void showMessage(const std::string& text) override { m_prompts.showMessage(text); }
    void showWarning(const std::string& text) override { m_prompts.showWarning(text); }
    void showFailure(const std::string& text, const Status& why) override;
    Answer askYesNo(const std::string& text, Answer defaultAnswer) override {
        return m_prompts.askYesNo(text, defaultAnswer);
    }

private:
    UserPrompts& m_prompts;
    bool m_inProgramFolder;
    std::optional<std::string> m_copy;
};

}  // namespace varnock
