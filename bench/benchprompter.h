#pragma once

#include "app/window/prompter.h"

#include <cstdio>

// Answers OK to every question, so that a benchmark runs a command as the
// user confirms it; it opens no file dialog and prints what would be shown
// as an error.
class TYesPrompter : public TPrompter {
public:
    bool ExecuteOpen(QWidget*, TFileDialog&) override { return false; }
    bool ExecuteSave(QWidget*, TFileDialog&) override { return false; }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    QMessageBox::StandardButton Ask(QWidget*, QMessageBox::Icon, const QString&, const QString&,
                                    QMessageBox::StandardButtons) override
    {
        return QMessageBox::Ok;
    }
    void ShowError(const QString& text) override { std::printf("error: %s\n", qPrintable(text)); }
    std::optional<QString> AskPassword(QWidget*, const QString&, const QString&) override { return std::nullopt; }
};
