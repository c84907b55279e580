// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing a file to open: the window's one seam to the file dialog.
#pragma once

#include <QSize>
#include <QString>

class QFileDialog;
class QWidget;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full native path of the chosen file, or an empty text when the user cancelled.
    // filter is a Qt name filter such as "Archive file (*.BSA)".
    virtual QString chooseFile(QWidget* parent, const QString& filter) = 0;
};

// The open-file dialog. Each choice gets a dialog of its own, so that nothing of the last one
// (its file name, its completion list) is left over; it opens in the folder of the last file
// chosen, whichever button chose it.
class DialogFileChooser final : public FileChooser {
public:
    QString chooseFile(QWidget* parent, const QString& filter) override;

    // Sets dialog up for choosing one existing file through filter. Outside Windows, Qt's own
    // dialog is used: it matches patterns without regard to case, so that "*.BSA" also lists
    // x.bsa on case-sensitive file systems, and it shows the filter's text unchanged.
    static void configure(QFileDialog& dialog, const QString& filter);
    // The folder to open in for a last choice made in lastFolder: the nearest folder that still
    // exists, or an empty text for the dialog's own default.
    static QString startFolder(const QString& lastFolder);

    // Large enough that the name, size, type and date columns are readable.
    static constexpr QSize kMinimumSize{760, 480};

private:
    QString m_lastFolder;
};
