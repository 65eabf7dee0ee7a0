#pragma once

#include <QApplication>
#include <exception>
#include <type_traits>
#include <utility>

inline constexpr const char ApplicationTitle[] = "VekTreeViewEditor";

// The one place where a failed command ends: its message goes to the error
// box and the program goes on.
void ShowException(const std::exception& error);

// Runs a command, a dialog callback, a drop, a timer or an idle handler;
// whatever it throws ends here, before it can unwind through Qt's event
// dispatch (which would leave a menu, a drag or a modal loop half done).
template <typename F>
void Protected(F&& command)
{
    try {
        std::forward<F>(command)();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

// `handler` as a slot or callback that runs through Protected: with the
// signal's arguments when it takes them, else with none.
template <typename F>
auto Guarded(F handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        Protected([&] {
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}

// Every entry point of ours catches its own errors; what reaches notify came
// from somewhere that does not, and is caught there as a last resort.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};
