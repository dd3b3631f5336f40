// Benchmarks of the window: building and first paint against a bare window, CAL presses, and
// the design analysis window.
#include "analysis_window/analysis_window.h"
#include "bare_window.h"
#include "main_window/design_menu.h"
#include "main_window/orvalen.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>
#include <memory>
#include <set>
#include <span>

namespace {

using Clock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;
using WindowMaker = std::function<std::unique_ptr<QWidget>()>;

// Delivers events until the flag is set; false when ten seconds pass first.
bool ProcessEventsUntil(const bool& done) {
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (!done) {
        QCoreApplication::processEvents();
        if (Clock::now() > deadline) {
            return false;
        }
    }
    return true;
}

// The repaint manager paints a window's whole widget tree, parents before children, and
// flushes it to the backing store in one synchronous step when the window is first exposed.
// So once the top-level has received its paint event and processEvents has returned, every
// visible control is painted and the frame is flushed; ReportFirstFrameCoverage() checks it.
class FirstFrameWatch : public QObject {
  public:
    explicit FirstFrameWatch(QWidget* window) : m_window(window) {
        window->installEventFilter(this);
    }

    // Shows the window and returns true once its first frame is painted, false if none came.
    bool ShowAndWait() {
        m_window->show();
        return ProcessEventsUntil(m_painted);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == m_window && event->type() == QEvent::Paint) {
            m_painted = true;
        }
        return false;
    }

  private:
    QWidget* m_window;
    bool m_painted = false;
};

std::unique_ptr<QWidget> MakeForm() {
    return std::make_unique<main_window::Orvalen>();
}

// Destroys a window outside the timed part, with whatever it left queued.
void Dispose(std::unique_ptr<QWidget>& window) {
    window.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

// CPU seconds used by the whole process; on a shared machine this varies far less than the
// wall clock, since waiting for a core is not counted.
double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

struct Spent {
    double wall = -1; // negative when no frame came
    double cpu = 0;
};

// Time from the start of construction to the first painted frame.
Spent BuildAndFirstFrame(const WindowMaker& make) {
    const auto start = Clock::now();
    const double cpuStart = ProcessCpuSeconds();
    auto window = make();
    FirstFrameWatch watch(window.get());
    const bool painted = watch.ShowAndWait();
    const Seconds wall = Clock::now() - start;
    const double cpu = ProcessCpuSeconds() - cpuStart;
    Dispose(window);
    return {painted ? wall.count() : -1, cpu};
}

void FirstFrame(benchmark::State& state, const WindowMaker& make) {
    for (auto _ : state) {
        const Spent spent = BuildAndFirstFrame(make);
        if (spent.wall < 0) {
            state.SkipWithError("no frame was painted");
            break;
        }
        state.SetIterationTime(spent.wall);
    }
}

// The form and the bare window one after the other in each iteration, so that both see the
// same load on a shared machine; the ratio is the figure the target is set on.
void FirstFrameRatio(benchmark::State& state) {
    Spent bare{0, 0};
    Spent form{0, 0};
    for (auto _ : state) {
        const Spent b = BuildAndFirstFrame(&bench::MakeBareWindow);
        const Spent f = BuildAndFirstFrame(&MakeForm);
        if (b.wall < 0 || f.wall < 0) {
            state.SkipWithError("no frame was painted");
            break;
        }
        bare.wall += b.wall;
        bare.cpu += b.cpu;
        form.wall += f.wall;
        form.cpu += f.cpu;
        state.SetIterationTime(b.wall + f.wall);
    }
    const auto perWindow = benchmark::Counter::kAvgIterations;
    state.counters["bare_ms"] = benchmark::Counter(bare.wall * 1e3, perWindow);
    state.counters["form_ms"] = benchmark::Counter(form.wall * 1e3, perWindow);
    state.counters["ratio"] = bare.wall > 0 ? form.wall / bare.wall : 0;
    state.counters["bare_cpu_ms"] = benchmark::Counter(bare.cpu * 1e3, perWindow);
    state.counters["form_cpu_ms"] = benchmark::Counter(form.cpu * 1e3, perWindow);
    state.counters["cpu_ratio"] = bare.cpu > 0 ? form.cpu / bare.cpu : 0;
}

struct PressExample {
    std::array<const char*, 4> inputs;  // typed into the tab's first four boxes
    std::array<const char*, 4> results; // what the result labels must hold after the press
};

// Two examples taken in turn, so that every press writes texts the labels did not hold.
constexpr PressExample kCalcExamples[] = {
    {{"10000", "2.5", "40", "30"}, {"64955", "7210", "35"}},
    {{"1000", "1.0", "35", "10"}, {"14631", "650", "23"}},
};
constexpr PressExample kCheckExamples[] = {
    {{"470", "10", "100", "1.2"}, {"63", "60", "57", "3.0"}},
    {{"300", "4", "37", "1.25"}, {"104", "99", "95", "4.0"}},
};

template <typename T> T* Control(QWidget& form, const QString& name) {
    T* control = form.findChild<T*>(name);
    if (!control) {
        qFatal("no control %s", qPrintable(name));
    }
    return control;
}

// From the click on CAL to the result labels holding their new texts; the boxes are filled
// and the window repainted before the clock starts, as when a user has typed and reached CAL.
void PressThroughWindow(benchmark::State& state, int tab, const char* noDiode, const char* inputs,
                        const char* results, const char* cal,
                        std::span<const PressExample> examples) {
    main_window::Orvalen form;
    form.setMessageSink([](const QString&) {});
    FirstFrameWatch watch(&form);
    if (!watch.ShowAndWait()) {
        state.SkipWithError("no frame was painted");
        return;
    }
    Control<QTabWidget>(form, "SSTab1")->setCurrentIndex(tab);
    // The four option buttons are one group, so the tab's "No" may need selecting again.
    Control<QRadioButton>(form, noDiode)->click();
    auto* button = Control<QPushButton>(form, cal);
    std::size_t turn = 0;
    for (auto _ : state) {
        const PressExample& example = examples[turn++ % examples.size()];
        for (int i = 0; i < 4; ++i) {
            Control<QLineEdit>(form, QStringLiteral("%1(%2)").arg(inputs).arg(i))
                ->setText(example.inputs[std::size_t(i)]);
        }
        QCoreApplication::processEvents();

        const auto start = Clock::now();
        button->click();
        const Seconds spent = Clock::now() - start;
        state.SetIterationTime(spent.count());

        for (int i = 0; i < 4 && example.results[std::size_t(i)]; ++i) {
            const QString shown =
                Control<QLabel>(form, QStringLiteral("%1(%2)").arg(results).arg(i))->text();
            if (shown != QLatin1String(example.results[std::size_t(i)])) {
                state.SkipWithError("a result label does not hold the example's text");
                return;
            }
        }
    }
}

void CalcPressThroughWindow(benchmark::State& state) {
    PressThroughWindow(state, 0, "Option1(1)", "Text1", "Label2", "Command1", kCalcExamples);
}

void CheckPressThroughWindow(benchmark::State& state) {
    PressThroughWindow(state, 3, "Option2(1)", "Text2", "Label3", "Command3", kCheckExamples);
}

// Waits for the first paint of a top-level window that does not exist yet when watching starts.
class AnalysisPaintWatch : public QObject {
  public:
    AnalysisPaintWatch() { qApp->installEventFilter(this); }
    ~AnalysisPaintWatch() override { qApp->removeEventFilter(this); }
    Q_DISABLE_COPY_MOVE(AnalysisPaintWatch)

    bool Wait() const { return ProcessEventsUntil(m_painted); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint &&
            qobject_cast<analysis_window::AnalysisWindow*>(watched)) {
            m_painted = true;
        }
        return false;
    }

  private:
    bool m_painted = false;
};

// A shown form whose Calc tab has computed the worked example, as a user has it before the
// analysis is first asked for.
std::unique_ptr<main_window::Orvalen> FormAfterCalcPress() {
    auto form = std::make_unique<main_window::Orvalen>();
    form->setMessageSink([](const QString&) {});
    FirstFrameWatch watch(form.get());
    watch.ShowAndWait();
    Control<QTabWidget>(*form, "SSTab1")->setCurrentIndex(0);
    Control<QRadioButton>(*form, "Option1(1)")->click();
    for (int i = 0; i < 4; ++i) {
        Control<QLineEdit>(*form, QStringLiteral("Text1(%1)").arg(i))
            ->setText(kCalcExamples[0].inputs[std::size_t(i)]);
    }
    Control<QPushButton>(*form, "Command1")->click();
    QCoreApplication::processEvents();
    return form;
}

// From "Analyse design..." to the analysis window's first painted frame: the first opening
// builds the window, runs the analysis with the E96 search and fills its tables and plot.
void OpenAnalysisWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto form = FormAfterCalcPress();
        auto* menu = form->findChild<main_window::DesignMenu*>();
        AnalysisPaintWatch watch;
        const auto start = Clock::now();
        menu->openAnalysis(calc_core::Tab::Calc);
        if (!watch.Wait()) {
            state.SkipWithError("the analysis window was not painted");
            break;
        }
        state.SetIterationTime(Seconds(Clock::now() - start).count());
        std::unique_ptr<QWidget> window(form.release());
        Dispose(window);
    }
}

// In the open window, the series changed to E192 until the window has been repainted: the
// analysis again with the largest search, its tables and its plot.
void AnalysisWindowToE192(benchmark::State& state) {
    auto form = FormAfterCalcPress();
    form->findChild<main_window::DesignMenu*>()->openAnalysis(calc_core::Tab::Calc);
    auto* window = form->findChild<analysis_window::AnalysisWindow*>();
    auto* series = window->findChild<QComboBox*>("Series");
    QCoreApplication::processEvents();
    for (auto _ : state) {
        const auto start = Clock::now();
        series->setCurrentText("E192");
        window->repaint();
        state.SetIterationTime(Seconds(Clock::now() - start).count());
        series->setCurrentText("E96");
        QCoreApplication::processEvents();
    }
    const auto* preferred = analysis_report::FindSection(window->report(), "Preferred values");
    if (!preferred || preferred->notes.empty() ||
        preferred->notes.front().text.find("E96") == std::string::npos) {
        state.SkipWithError("the series did not change back");
    }
}

// Counts the widgets painted in the form's first frame against those visible, once, so the
// first-frame watch above is seen to wait for the whole window.
void ReportFirstFrameCoverage() {
    struct PaintRecorder : QObject {
        std::set<QObject*> painted;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::Paint) {
                painted.insert(watched);
            }
            return false;
        }
    } recorder;
    auto form = MakeForm();
    qApp->installEventFilter(&recorder);
    FirstFrameWatch watch(form.get());
    const bool shown = watch.ShowAndWait();
    qApp->removeEventFilter(&recorder);
    int visible = 0;
    int paintedVisible = 0;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
        if (widget->isVisible()) {
            ++visible;
            paintedVisible += int(recorder.painted.count(widget));
        }
    }
    std::printf("First frame of the form: %s; %d of its %d visible controls painted, picture "
                "%s\n",
                shown ? "painted" : "NOT painted", paintedVisible, visible,
                recorder.painted.contains(form->findChild<QWidget*>("Picture1")) ? "included"
                                                                                 : "MISSING");
    Dispose(form);
}

} // namespace

BENCHMARK_CAPTURE(FirstFrame, BareWindow, WindowMaker(&bench::MakeBareWindow))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FirstFrame, Form, WindowMaker(&MakeForm))
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(FirstFrameRatio)->UseManualTime()->Unit(benchmark::kMillisecond);
// A fixed count: each press also fills the boxes and repaints untimed, which costs far more
// than the press itself, so the usual minimum time would take minutes.
BENCHMARK(CalcPressThroughWindow)->UseManualTime()->Iterations(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(CheckPressThroughWindow)
    ->UseManualTime()
    ->Iterations(3000)
    ->Unit(benchmark::kMicrosecond);

BENCHMARK(OpenAnalysisWindow)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);
BENCHMARK(AnalysisWindowToE192)->UseManualTime()->Iterations(50)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    // The figures are taken on the offscreen platform unless another one is asked for.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The examples are written with '.' decimals.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    // The first window of a process also loads fonts, style and platform; both kinds pay
    // that here, before any figure is taken.
    BuildAndFirstFrame(&bench::MakeBareWindow);
    ReportFirstFrameCoverage();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
