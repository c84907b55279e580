// SPDX-License-Identifier: GPL-3.0-or-later
// Shows a long archive copy in a modal progress dialog with a Cancel button, once the engine
// says the copy has run long enough to be shown.
#pragma once

#include <memory>

#include "CopyProgressView.h"

class QProgressDialog;
class QWidget;

class CopyProgressDialog final : public varnock::CopyProgressView {
public:
    explicit CopyProgressDialog(QWidget* parent);
    ~CopyProgressDialog() override;

    bool copying(const varnock::CopyReport& report) override;
    void copyEnded() override;

private:
    QWidget* m_parent;
    std::unique_ptr<QProgressDialog> m_dialog;
};
