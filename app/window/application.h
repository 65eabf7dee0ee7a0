#pragma once

#include "app/guard/guard.h"

#include <QApplication>
#include <exception>
#include <type_traits>
#include <utility>

inline constexpr const char ApplicationTitle[] = "VekTreeViewEditor";

// A failure's message as the error box shows it: in the window's language,
// ended as ErrorBoxText ends it.
QString ErrorBoxMessage(const std::exception& error);

// The one place where a failed command ends: its message goes to the error
// box and the program goes on.
void ShowException(const std::exception& error);

// The one guard. Every command, dialog callback, drop, timer, tree
// notification and idle handler runs through it; whatever it throws ends
// here, before it can unwind through Qt's event dispatch (which would leave
// a menu, a drag or a modal loop half done).
template <typename F>
void RunGuarded(F&& work)
{
    try {
        std::forward<F>(work)();
    } catch (const std::exception& error) {
        ShowException(error);
    }
}

// `handler` as a slot that runs through RunGuarded: with the signal's
// arguments when it takes them, else with none.
template <typename F>
auto Guarded(F handler)
{
    return [handler = std::move(handler)](auto&&... args) {
        RunGuarded([&] {
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        });
    };
}

// `receiver->*method` as a slot that runs through RunGuarded, taking the
// method's own parameters (Qt drops the signal's extra ones).
template <typename T, typename... A>
auto Guarded(T* receiver, void (T::*method)(A...))
{
    return [receiver, method](A... args) { RunGuarded([&] { (receiver->*method)(std::forward<A>(args)...); }); };
}

// Connects `signal` to `receiver->*method` through RunGuarded; the
// connection ends with either object.
template <typename S, typename Signal, typename T, typename Method>
QMetaObject::Connection ConnectGuarded(S* sender, Signal signal, T* receiver, Method method)
{
    return QObject::connect(sender, signal, receiver, Guarded(receiver, method));
}

// The guard for the parts below the window (the search, the settings
// binding), which cannot see RunGuarded.
TGuard& WindowGuard();

// Every entry point of ours catches its own errors; what reaches notify came
// from somewhere that does not, and is caught there as a last resort.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // How many failures only the last resort caught: one of ours that lacks
    // its guard. Stays 0.
    static int LastResortCount();
};
