// Speed of the report control: painting the visible page of a long report
// into an image, and scrolling by a page. Only visible rows are laid out, so
// both should cost the same for a thousand rows as for a hundred thousand.
#include "ui/RangeGauge.h"
#include "ui/ReportCtrl.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <clocale>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

struct Report {
    QWidget window;
    CReportCtrl* report;
    std::vector<std::unique_ptr<RangeGauge>> gauges;

    explicit Report(int rows)
    {
        window.resize(800, 600);
        report = new CReportCtrl(&window, ReportStyle::AlternateShading | ReportStyle::VerticalGrid);
        report->setGeometry(0, 0, 800, 600);
        const char* titles[] = {"Result", "Total", "Average", "Recommended", "Range", "Correct"};
        for (int c = 0; c < 6; ++c) {
            ReportColumn column;
            column.title = titles[c];
            column.width = c == 4 ? 220 : 110;
            report->defineColumn(c, column);
            report->showColumn(c, c);
        }
        for (COLORREF colour : {0xE6E6E6u, 0x0000FFu, 0x008C00u, 0xC00000u})
            report->insertColor(int(report->model().colourTable().size()), colour);
        for (int g = 0; g < 16; ++g) {
            auto gauge = std::make_unique<RangeGauge>();
            gauge->setRange(0, 100, 0xFFFFFF);
            gauge->setEnds(true, true, 10, 10);
            gauge->addMarker(40, 60, 0x80E080, false, false);
            gauge->setValue(g * 7);
            gauges.push_back(std::move(gauge));
        }
        for (int r = 0; r < rows; ++r) {
            ReportItem item;
            item.row = r;
            item.mask = ReportMask::Text;
            item.text = QString("Result %1").arg(r);
            report->insertItem(item);
            item.mask = ReportMask::Text | ReportMask::Colour;
            item.colour = 1 + r % 3;
            for (int c = 1; c < 6; ++c) {
                item.subitem = c;
                item.text = c == 4 ? gauges[r % 16]->barCellText() : QString::number(r * c);
                report->setItem(item);
            }
        }
        window.show();
    }
};

void paintPage(benchmark::State& state)
{
    Report r(int(state.range(0)));
    r.report->scrollToRow(int(state.range(0)) / 2);
    QImage image(r.report->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        r.report->paintTo(painter, image.rect());
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

void scrollPage(benchmark::State& state)
{
    Report r(int(state.range(0)));
    QImage image(r.report->viewport()->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        ReportLayout rows(r.report->model(), r.report->getRowHeight(), r.report->rowArea().height());
        int next = rows.pageDown(r.report->firstVisible());
        r.report->scrollToRow(next == r.report->firstVisible() ? 0 : next);
        QPainter painter(&image);
        r.report->paintTo(painter, image.rect());
        painter.end();
        benchmark::DoNotOptimize(image.bits());
    }
}

} // namespace

BENCHMARK(paintPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(scrollPage)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
