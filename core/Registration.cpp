// SPDX-License-Identifier: GPL-3.0-or-later
#include "Registration.h"

#include <algorithm>

#include "DataFilesCopy.h"
#include "PathHelpers.h"
#include "text/CodePage.h"
#include "text/Utf8.h"

namespace varnock {
namespace {

constexpr std::string_view kNotInDataFiles =
    "The archive you selected is not in the \"Data Files\" folder where it is supposed to be. "
    "Copy it?";

bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

Result<StorableValue> registrableName(std::string_view name) {
    if (name.empty()) {
        return Status::failure("it is empty");
    }
    for (std::size_t pos = 0; pos < name.size();) {
        const auto c = text::decodeUtf8(name, pos);
        if (!c) {
            return Status::failure("it is not valid text");
        }
        if (isControl(*c)) {
            return Status::failure("it holds a control character");
        }
        // Named here, character by character, since the user has to find it in the name.
        std::string character;
        text::appendUtf8(character, *c);
        if (!text::toCodePage(character)) {
            const auto onlyAscii = text::whyOnlyAscii();
            return Status::failure("it holds \"" + character + "\", " +
                                   onlyAscii.value_or("a character that the settings file's "
                                                      "code page cannot hold"));
        }
    }
    return SettingsFile::storable(name);
}

RegistrationResult registerArchive(std::string_view archivePath, std::string_view iniPath,
                                   UserPrompts& prompts, CopyProgressView& progress,
                                   const std::vector<std::string>& alsoInPlace) {
    constexpr RegistrationResult notRegistered{RegistrationOutcome::NotRegistered};
    if (archivePath.empty()) {
        prompts.showMessage("Select Archive first.");
        return notRegistered;
    }
    if (iniPath.empty()) {
        prompts.showMessage("Select INI first.");
        return notRegistered;
    }
    const std::string archiveName = lastComponent(archivePath);
    // Refused before anything is copied: such a name would be stored wrong or inject lines.
    const auto name = registrableName(archiveName);
    if (!name) {
        prompts.showWarning(archiveName + " cannot be registered: " + name.reason() + ".");
        return notRegistered;
    }
    const ArchiveSlotTable table(pathFromUtf8(iniPath));
    auto snapshot = table.snapshot();
    if (!snapshot) {
        prompts.showWarning(archiveName + " was not registered. " + snapshot.reason());
        return notRegistered;
    }
    const FreeSlot scan = snapshot.value().findFreeSlot(archiveName);
    if (scan.kind == FreeSlot::Kind::AlreadyRegistered) {
        prompts.showMessage(archiveName + " is already registered.");
        return notRegistered;
    }
    if (scan.kind == FreeSlot::Kind::Full) {
        return notRegistered;
    }
    // Told now rather than after a copy that may take minutes and would then be left behind.
    if (const Status saveable = table.checkSaveable(); !saveable) {
        prompts.showFailure(archiveName + " was not registered. " + saveable.reason(), saveable);
        return notRegistered;
    }

    const std::string dataFilesFolder = dataFilesFolderOf(iniPath);
    const std::string archiveFolder = folderOf(archivePath);
    const bool inPlace =
        archiveFolder == dataFilesFolder ||
        std::find(alsoInPlace.begin(), alsoInPlace.end(), archiveFolder) != alsoInPlace.end();
    if (!inPlace && prompts.askYesNo(std::string(kNotInDataFiles), Answer::Yes) == Answer::Yes) {
        const std::string destination = dataFilesFolder + archiveName;
        prompts.showMessage(destination);
        if (!registrationGoesOn(
                copyIntoDataFiles(archivePath, archiveName, destination, prompts, progress))) {
            return notRegistered;
        }
    }

    const auto written = table.registerName(name.value(), std::move(snapshot).value());
    if (!written) {
        prompts.showFailure(archiveName + " was not registered. " + written.reason(),
                            written.status());
        return {RegistrationOutcome::Failed};
    }
    switch (written.value().kind) {
        case FreeSlot::Kind::AlreadyRegistered:  // by another program, during the question or copy
            prompts.showMessage(archiveName + " is already registered.");
            return {RegistrationOutcome::Failed};
        case FreeSlot::Kind::Full:
            return {RegistrationOutcome::Failed};
        case FreeSlot::Kind::Found:
            break;
    }
    prompts.showMessage(archiveName + " registered successfully.");
    return {RegistrationOutcome::Registered, written.value().slot};
}

}  // namespace varnock
