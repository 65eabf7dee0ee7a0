#pragma once

#include <QApplication>
#include <exception>
#include <utility>

inline constexpr const char ApplicationTitle[] = "VekTreeViewEditor";

// The one place where a failed command ends: its message goes to the error
// box and the program goes on.
void ShowException(const std::exception& error);

// Runs a command, a dialog callback or a drop; whatever it throws ends here.
template <typename F>
void Protected(F&& command)
{
    try {
        std::forward<F>(command)();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

// Keeps exceptions out of Qt's event loop for anything not run through
// Protected (an event handler of a widget, for instance).
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
