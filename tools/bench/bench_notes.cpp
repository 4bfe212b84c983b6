// Opening the note editor: from the double click on the note page to the
// notepad window shown and painted, offscreen, with its picture and
// outline; and, apart, what building the picture and its outline costs the
// first opening of a run.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDate>
#include <QDialog>
#include <QImage>
#include <QPlainTextEdit>

#include "bench_window.h"
#include "notes/formshape.h"
#include "notes/notepage.h"
#include "sample_datafile.h"
#include "uikit/modal.h"

namespace {

void BM_note_editor_open(benchmark::State& state)
{
    const auto window = bench_window(state, sample_data_file(), QDate(2021, 3, 15));
    if (!window)
        return;
    window->show();
    QCoreApplication::processEvents();
    auto* page = window->findChild<notes::NotePage*>();
    page->memo()->setPlainText(QStringLiteral("一条便笺\nA note of a few lines\n\n第三行"));
    // The editor is shown and painted, then cancelled.
    uikit::set_modal_hook([](QDialog& editor) {
        editor.show();
        QCoreApplication::processEvents();
        return 0;
    });
    for (auto _ : state)
        page->Memo_noteDblClick();
    uikit::set_modal_hook({});
}
BENCHMARK(BM_note_editor_open)->Unit(benchmark::kMillisecond);

// Reading the picture and tracing its outline, which the first opening of a
// run does and every later one takes ready-made.
void BM_notepad_picture_build(benchmark::State& state)
{
    for (auto _ : state) {
        const QImage image(QStringLiteral(":/images/notepad.png"));
        benchmark::DoNotOptimize(notes::outline_of(image).rectCount());
    }
}
BENCHMARK(BM_notepad_picture_build)->Unit(benchmark::kMillisecond);

}  // namespace
