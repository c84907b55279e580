// SPDX-License-Identifier: GPL-3.0-or-later
#include "PathLabel.h"

#include <QEvent>

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {}

void PathLabel::setPath(const QString& path) {
    m_path = path;
    setToolTip(path);
    updateDisplay();
}

void PathLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    updateDisplay();
}

void PathLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        updateDisplay();
    }
}

void PathLabel::updateDisplay() {
    const int room = contentsRect().width();
    setText(fontMetrics().elidedText(m_path, Qt::ElideMiddle, room));
}
