#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>
#include <optional>

class QWidget;

// A file dialog object that keeps its last folder and file name between
// uses, so every command that shares it picks up where the last one left.
class TFileDialog {
public:
    const QString& DefaultExt() const { return m_defaultExt; }
    void SetDefaultExt(const QString& ext) { m_defaultExt = ext; }
    // "Description|pattern|Description|pattern"
    const QString& Filter() const { return m_filter; }
    void SetFilter(const QString& filter) { m_filter = filter; }
    // The last chosen (or preset) file.
    const QString& FileName() const { return m_fileName; }
    void SetFileName(const QString& fileName) { m_fileName = fileName; }
    // The folder to start in when no last folder is known; the settings give
    // it and nothing changes it at run time.
    const QString& InitialDir() const { return m_initialDir; }
    void SetInitialDir(const QString& folder) { m_initialDir = folder; }
    // The folder of the last chosen file, kept across restarts.
    const QString& LastDir() const { return m_lastDir; }
    void SetLastDir(const QString& folder) { m_lastDir = folder; }

    // Qt's form of Filter(): "Description (pattern);;...".
    QString QtFilter() const;
    // The folder the dialog opens in: LastDir() while it exists, else
    // InitialDir(), else FileName()'s folder.
    QString StartPath() const;

private:
    QString m_defaultExt;
    QString m_filter;
    QString m_fileName;
    QString m_initialDir;
    QString m_lastDir;
};

// Everything that asks the user something. The editor uses the real dialogs;
// tests put in a scripted one, so no native dialog is ever driven.
class TPrompter {
public:
    virtual ~TPrompter() = default;
    // On confirmation the chosen path becomes dialog.FileName().
    virtual bool ExecuteOpen(QWidget* parent, TFileDialog& dialog) = 0;
    // Asks before an existing file is replaced.
    virtual bool ExecuteSave(QWidget* parent, TFileDialog& dialog) = 0;
    // An empty result means cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) = 0;
    virtual QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                            const QString& text, QMessageBox::StandardButtons buttons) = 0;
    // The application's error box.
    virtual void ShowError(const QString& text) = 0;
    // A password typed without showing it; none when cancelled.
    virtual std::optional<QString> AskPassword(QWidget* parent, const QString& caption, const QString& label) = 0;
};

class TDialogPrompter : public TPrompter {
public:
    bool ExecuteOpen(QWidget* parent, TFileDialog& dialog) override;
    bool ExecuteSave(QWidget* parent, TFileDialog& dialog) override;
    QString ChooseFolder(QWidget* parent, const QString& caption, const QString& start) override;
    QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons) override;
    void ShowError(const QString& text) override;
    std::optional<QString> AskPassword(QWidget* parent, const QString& caption, const QString& label) override;
};

TPrompter& Prompter();
// Replaces the prompter; returns the previous one.
std::unique_ptr<TPrompter> SetPrompter(std::unique_ptr<TPrompter> prompter);
