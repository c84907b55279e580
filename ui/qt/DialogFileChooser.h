// SPDX-License-Identifier: GPL-3.0-or-later
// The open-file dialog behind the window's file-chooser seam.
#pragma once

#include <QSize>
#include <QString>

#include "FileChooser.h"

class QFileDialog;
class QWidget;

// Each choice gets a dialog of its own, so that nothing of the last one (its file name, its
// completion list) is left over; it opens in the folder of the last file chosen, whichever
// button chose it.
class DialogFileChooser final : public varnock::FileChooser {
public:
    explicit DialogFileChooser(QWidget* parent) : m_parent(parent) {}

    std::string chooseFile(const varnock::FileKind& kind) override;
    void openNextIn(const std::string& folder) override {
        m_lastFolder = QString::fromStdString(folder);
    }

    // Sets dialog up for choosing one existing file through filter, a Qt name filter such as
    // "Archive file (*.BSA)". Outside Windows, Qt's own dialog is used: it matches patterns
    // without regard to case, so that "*.BSA" also lists x.bsa on case-sensitive file systems,
    // and it shows the filter's text unchanged.
    static void configure(QFileDialog& dialog, const QString& filter);
    // The folder to open in for a last choice made in lastFolder: the nearest folder that still
    // exists, or an empty text for the dialog's own default.
    static QString startFolder(const QString& lastFolder);

    // Large enough that the name, size, type and date columns are readable.
    static constexpr QSize kMinimumSize{760, 480};

private:
    QWidget* m_parent;
    QString m_lastFolder;
};
