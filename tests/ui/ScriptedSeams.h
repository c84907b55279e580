// SPDX-License-Identifier: GPL-3.0-or-later
// Stand-ins for the file dialog and the message boxes that answer from a script and record
// what the window asked.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <string>
#include <vector>

#include "FileChooser.h"
#include "UserPrompts.h"

class ScriptedFileChooser final : public FileChooser {
public:
    explicit ScriptedFileChooser(std::deque<QString>* answers, QStringList* filters)
        : m_answers(answers), m_filters(filters) {}

    QString chooseFile(QWidget*, const QString& filter) override {
        m_filters->append(filter);
        if (m_answers->empty()) {
            return {};
        }
        QString answer = m_answers->front();
        m_answers->pop_front();
        return answer;
    }

private:
    std::deque<QString>* m_answers;
    QStringList* m_filters;
};

class RecordingPrompts final : public varnock::UserPrompts {
public:
    // Warnings go to shown as well as to warned.
    RecordingPrompts(std::vector<std::string>* shown, std::deque<varnock::Answer>* answers,
                     std::vector<std::string>* warned)
        : m_shown(shown), m_answers(answers), m_warned(warned) {}

    void showMessage(const std::string& text) override { m_shown->push_back(text); }
    void showWarning(const std::string& text) override {
        m_shown->push_back(text);
        m_warned->push_back(text);
    }
    varnock::Answer askYesNo(const std::string& text, varnock::Answer) override {
        m_shown->push_back(text);
        if (m_answers->empty()) {
            return varnock::Answer::No;
        }
        const varnock::Answer answer = m_answers->front();
        m_answers->pop_front();
        return answer;
    }

private:
    std::vector<std::string>* m_shown;
    std::deque<varnock::Answer>* m_answers;
    std::vector<std::string>* m_warned;
};
