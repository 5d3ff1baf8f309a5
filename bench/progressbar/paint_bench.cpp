// SPDX-License-Identifier: GPL-3.0-or-later
// Time of one full paint of a 691 x 24 bar, the main window's, per style: every layer into the
// off-screen image, then the copy to the screen (the offscreen platform's backing store). The
// target is well under 100 us each, so a bar that repaints on every value change costs nothing
// during a run.
#include "xp_progressbar.h"

#include <QApplication>
#include <QTest>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using quillon::controls::XP_ProgressBar;

// The main window's bar, on the screen.
std::unique_ptr<XP_ProgressBar> shownBar() {
    auto bar = std::make_unique<XP_ProgressBar>();
    bar->resize(691, 24);
    bar->setColor(0xD5774E);
    bar->show();
    (void)QTest::qWaitForWindowExposed(bar.get());
    return bar;
}

void paintStyle(benchmark::State& state) {
    const auto bar = shownBar();
    bar->setScrolling(static_cast<int>(state.range(0)));
    bar->setShowText(state.range(1) != 0);
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(Qt::darkYellow);
    bar->setImage(tile);
    bar->setValue(50);
    for (auto _ : state) {
        // The paint a repainting setter makes, finished on the screen when it returns.
        bar->repaint();
    }
}

void valueSweep(benchmark::State& state) {
    // A run's worth of value changes, 0 to 100, each set once per pass of event handling as the
    // main window applies them, and on the screen before the next.
    const auto bar = shownBar();
    for (auto _ : state) {
        for (int v = 0; v <= 100; ++v) {
            bar->setValue(v);
            QCoreApplication::processEvents();
        }
    }
    state.SetItemsProcessed(state.iterations() * 101);
}

} // namespace

BENCHMARK(paintStyle)
    ->ArgNames({"style", "caption"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, {0}})
    ->Args({0, 1})
    ->Args({9, 1})
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(valueSweep)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int appArgc = 1;
    QApplication app(appArgc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
