// SPDX-License-Identifier: GPL-3.0-or-later
// The actions' prompts as modal message boxes over the window.
#pragma once

#include "UserPrompts.h"

class QWidget;

class MessageBoxPrompts final : public varnock::UserPrompts {
public:
    explicit MessageBoxPrompts(QWidget* parent) : m_parent(parent) {}

    // Messages and questions carry no icon; only warnings show one.
    void showMessage(const std::string& text) override;
    void showWarning(const std::string& text) override;
    varnock::Answer askYesNo(const std::string& text, varnock::Answer defaultAnswer) override;

private:
    QWidget* m_parent;
};
