// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a long archive copy in a modal progress dialog with a Cancel button. The dialog
// appears only once the copy has run for a while, so that quick copies do not flash it.
#pragma once

#include <QElapsedTimer>
#include <memory>

#include "CopyProgressView.h"

class QProgressDialog;
class QWidget;

class CopyProgressDialog final : public varnock::CopyProgressView {
public:
    explicit CopyProgressDialog(QWidget* parent, int showAfterMs = 500);
    ~CopyProgressDialog() override;

    bool copying(const std::string& name, std::uint64_t copied, std::uint64_t total) override;
    void copyEnded() override;

private:
    QWidget* m_parent;
    int m_showAfterMs;
    QElapsedTimer m_elapsed;
    std::unique_ptr<QProgressDialog> m_dialog;
};
