// Varnock: keeps the archive list of an INI settings file.
// Choosing a file to open: the window's one seam to the file dialog.
#pragma once

#include <QString>

#include <memory>

class QFileDialog;
class QWidget;

class FileChooser {
public:
    virtual ~FileChooser() = default;
    // The full native path of the chosen file, or an empty text when the user cancelled.
    // filter is a Qt name filter such as "Archive file (*.BSA)".
    virtual QString chooseFile(QWidget* parent, const QString& filter) = 0;
};

// The open-file dialog. One dialog serves every choice, so it opens where the last choice
// was made.
class DialogFileChooser final : public FileChooser {
public:
    DialogFileChooser();
    ~DialogFileChooser() override;

    QString chooseFile(QWidget* parent, const QString& filter) override;

    // Sets dialog up for choosing one existing file through filter. Outside Windows, Qt's own
    // dialog is used: it matches patterns without regard to case, so that "*.BSA" also lists
    // x.bsa on case-sensitive file systems, and it shows the filter's text unchanged.
    static void configure(QFileDialog& dialog, const QString& filter);

private:
    std::unique_ptr<QFileDialog> m_dialog;
};
