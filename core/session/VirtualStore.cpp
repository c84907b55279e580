// SPDX-License-Identifier: GPL-3.0-or-later
#include "VirtualStore.h"

#include <filesystem>
#include <system_error>

#include "PathHelpers.h"

namespace varnock {
namespace {

char folded(char c) {
    if (c == '/') {
        return '\\';
    }
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether path is folder or lies below it.
bool under(std::string_view path, std::string_view folder) {
    while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) {
        folder.remove_suffix(1);
    }
    if (folder.empty() || path.size() <= folder.size()) {
        return false;
    }
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (folded(path[i]) != folded(folder[i])) {
            return false;
        }
    }
    return folded(path[folder.size()]) == '\\';
}

// "C:\Program Files\Game\x.ini" -> "Program Files\Game\x.ini".
std::string_view belowDrive(std::string_view path) {
    if (path.size() > 3 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) {
        return path.substr(3);
    }
    return {};
}

}  // namespace

bool inProgramFolder(std::string_view path, const ProgramFolders& folders) {
    return under(path, folders.programFiles) || under(path, folders.programFilesX86) ||
           under(path, folders.programW6432);
}

std::optional<std::string> virtualStoreCopy(std::string_view path, const ProgramFolders& folders) {
    const std::string_view relative = belowDrive(path);
    if (folders.localAppData.empty() || relative.empty() || !inProgramFolder(path, folders)) {
        return std::nullopt;
    }
    std::string copy = folders.localAppData;
    if (copy.back() != '\\' && copy.back() != '/') {
        copy += '\\';
    }
    copy += "VirtualStore\\";
    copy += relative;
    std::error_code error;
    if (!std::filesystem::is_regular_file(pathFromUtf8(copy), error)) {
        return std::nullopt;
    }
    return copy;
}

std::optional<std::string> virtualStoreOriginal(std::string_view path,
                                                const ProgramFolders& folders) {
    std::string store = folders.localAppData;
    if (store.empty()) {
        return std::nullopt;
    }
    if (store.back() != '\\' && store.back() != '/') {
        store += '\\';
    }
    store += "VirtualStore";
    if (!under(path, store)) {
        return std::nullopt;
    }
    const std::string_view relative = path.substr(store.size() + 1);  // "Program Files\..."
    for (const std::string* folder :
         {&folders.programFiles, &folders.programFilesX86, &folders.programW6432}) {
        const std::string_view below = belowDrive(*folder);
        if (!below.empty() && under(relative, below)) {
            return folder->substr(0, folder->size() - below.size()) + std::string(relative);
        }
    }
    return std::nullopt;
}

std::vector<std::string> dataFilesFolders(std::string_view iniPath, const ProgramFolders& folders) {
    std::vector<std::string> found{dataFilesFolderOf(iniPath)};
    if (const auto original = virtualStoreOriginal(iniPath, folders)) {
        found.push_back(dataFilesFolderOf(*original));
    }
    return found;
}

std::string virtualStoreNotice(std::string_view copy) {
    return "Windows keeps a copy of this settings file for programs run without administrator "
           "rights, and the other application may be reading that copy instead:\n" +
           std::string(copy) +
           "\nChoose that copy to change what it reads: Select INI opens in its folder.";
}

ProgramFolderPrompts::ProgramFolderPrompts(UserPrompts& prompts, std::string_view iniPath,
                                           const ProgramFolders& folders)
    : m_prompts(prompts),
      m_inProgramFolder(inProgramFolder(iniPath, folders)),
      m_copy(virtualStoreCopy(iniPath, folders)) {}

void ProgramFolderPrompts::showFailure(const std::string& text, const Status& why) {
    if (!m_inProgramFolder || why.cause() != Status::Cause::AccessDenied) {
        m_prompts.showFailure(text, why);
        return;
    }
    std::string wayOn =
        text +
        "\nThe file is in a program folder, which only an administrator may change: run "
        "Varnock as administrator, or choose ";
    wayOn += m_copy ? "the copy Windows keeps for programs without those rights: " + *m_copy
                    : std::string(
                          "the copy Windows keeps for programs without those rights, "
                          "under %LOCALAPPDATA%\\VirtualStore.");
    m_prompts.showWarning(wayOn);
}

}  // namespace varnock
