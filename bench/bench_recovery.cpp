// The longest pause that writing one recovery copy of the benchmark tree
// causes in the window: a timer that ticks every millisecond stands for
// the user's keystrokes, and the longest gap between two of its ticks while
// the copy is made is the pause.
#include "app/widgets/imagelists.h"
#include "app/window/documentsession.h"
#include "app/window/mainwindow.h"
#include "app/window/recoverymanager.h"
#include "bench/benchtree.h"
#include "document/treefile.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}
}  // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    InitResources();
    QTemporaryDir dir;
    const QString folder = dir.path() + QStringLiteral("/recovery");
    TfrmTreeViewEditorMain window({}, folder);
    window.show();
    QApplication::processEvents();
    {
        TTreeList built;
        BuildBenchTree(built);
        window.TreeList().AppendItemsFrom(built);
    }
    TRecoveryManager& recovery = window.Recovery();
    recovery.SetInterval(0);

    double longest = 0;
    Clock::time_point last = Clock::now();
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        const Clock::time_point now = Clock::now();
        longest = std::max(longest, Milliseconds(now - last));
        last = now;
    });

    const Clock::time_point start = Clock::now();
    window.Session().MarkModified();
    last = Clock::now();
    probe.start();
    Clock::duration serialised{};
    while (recovery.CopiesWritten() == 0 && recovery.CopiesFailed() == 0) {
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (serialised == Clock::duration{} && !recovery.CopyDue())
            serialised = Clock::now() - start;
    }
    const Clock::duration written = Clock::now() - start;
    probe.stop();

    const QStringList copies = QDir(folder).entryList({QStringLiteral("*.trd")}, QDir::Files);
    QFile copy(copies.isEmpty() ? QString() : folder + QLatin1Char('/') + copies.first());
    if (recovery.CopiesFailed() != 0 || !copy.open(QIODevice::ReadOnly)) {
        std::printf("error: no recovery copy was written\n");
        return 1;
    }
    const QByteArray bytes = copy.readAll();
    if (std::string(bytes.constData(), static_cast<size_t>(bytes.size())) != WriteItems(window.TreeList()))
        std::printf("error: the copy differs from the tree\n");
    std::printf("recovery copy of 1,111,110 items, %.0f MB\n", static_cast<double>(bytes.size()) / 1e6);
    std::printf("  longest pause of the window   %8.1f ms   (target 100 ms: %s)\n", longest,
                longest < 100 ? "ok" : "SLOW");
    std::printf("  serialised between events in  %8.0f ms\n", Milliseconds(serialised));
    std::printf("  on the disk after             %8.0f ms\n", Milliseconds(written));
    return 0;
}
