// SPDX-License-Identifier: GPL-3.0-or-later
// The open-file dialog behind the window's file-chooser seam.
#pragma once

#include <QSize>
#include <QString>

#include "FileChooser.h"

class QFileDialog;
class QWidget;

// Each choice gets a dialog of its own, so that nothing of the last one (its file name, its
// completion list) is left over.
class DialogFileChooser final : public varnock::FileChooser {
public:
    explicit DialogFileChooser(QWidget* parent) : m_parent(parent) {}

    std::string chooseFile(const varnock::FileKind& kind, const std::string& startFolder) override;

    // Sets dialog up for choosing one existing file through filter, a Qt name filter such as
    // "Archive file (*.BSA)". Outside Windows, Qt's own dialog is used: it matches patterns
    // without regard to case, so that "*.BSA" also lists x.bsa on case-sensitive file systems,
    // and it shows the filter's text unchanged.
    static void configure(QFileDialog& dialog, const QString& filter);

    // Large enough that the name, size, type and date columns are readable.
    static constexpr QSize kMinimumSize{760, 480};

private:
    QWidget* m_parent;
};
