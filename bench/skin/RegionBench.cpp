// Window shapes from pictures: the busy indicator rebuilds one per 100 ms frame, the
// dialogs one per opening.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>

#include "resources/Artwork.h"
#include "skin/Region.h"

namespace {

QImage BusyFrame() {
    QImage frame = pallix::ProgramArtwork().Image(405).convertToFormat(QImage::Format_RGB32);
    const QImage caption = pallix::ProgramArtwork().Image(417);
    QPainter(&frame).drawImage((frame.width() - caption.width()) / 2, (frame.height() - caption.height()) / 2, caption);
    return frame;
}

// The largest window face of the program.
QImage LargestFace() {
    QImage best;
    for (const auto& e : pallix::ProgramArtwork().Entries())
        if (e.size.width() * e.size.height() > best.width() * best.height() && e.id != 800)
            best = pallix::ProgramArtwork().Image(e.id);
    return best;
}

void BM_ShapeOfBusyFrame(benchmark::State& state) {
    const QImage frame = BusyFrame();
    for (auto _ : state) benchmark::DoNotOptimize(pallix::RegionFromImage(frame, qRgb(0, 255, 0)));
    state.SetLabel("172x172");
}
BENCHMARK(BM_ShapeOfBusyFrame)->Unit(benchmark::kMicrosecond);

// One busy tick as the indicator does it: load frame and caption, compose, shape.
void BM_BusyTickLoadComposeShape(benchmark::State& state) {
    int i = 0;
    for (auto _ : state) {
        QImage frame = pallix::ProgramArtwork().Image(405 + i++ % 12).convertToFormat(QImage::Format_RGB32);
        const QImage caption = pallix::ProgramArtwork().Image(417);
        QPainter(&frame).drawImage(29, 69, caption);
        benchmark::DoNotOptimize(pallix::RegionFromImage(frame, qRgb(0, 255, 0)));
    }
}
BENCHMARK(BM_BusyTickLoadComposeShape)->Unit(benchmark::kMicrosecond);

void BM_ShapeOfLargestFace(benchmark::State& state) {
    const QImage face = LargestFace();
    for (auto _ : state) benchmark::DoNotOptimize(pallix::RegionFromImage(face, qRgb(0, 64, 0)));
    state.SetLabel(std::to_string(face.width()) + "x" + std::to_string(face.height()));
}
BENCHMARK(BM_ShapeOfLargestFace)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
