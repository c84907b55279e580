// SPDX-License-Identifier: GPL-3.0-or-later
// A label that holds a full path and shows as much of it as fits, eliding the middle;
// the tooltip shows the whole path.
#pragma once

#include <QLabel>

class PathLabel final : public QLabel {
    Q_OBJECT

public:
    explicit PathLabel(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void updateDisplay();

    QString m_path;
};
