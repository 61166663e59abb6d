// The least a Qt window showing a live reading can cost: a bare widget whose
// timer changes a text four times a second and repaints only that text's
// band, as the application's readout does, with none of its logic, serial
// link, graph or recording. scripts/measure-app.sh runs it beside the
// application so that the application's cost can be told apart from the
// toolkit's own cost of a repaint and flush.
//
//   quolix_repaint_floor SECONDS

#include <cstdlib>

#include <QApplication>
#include <QMainWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>
#include <QWidget>

namespace {

class ReadingWidget : public QWidget {
  public:
    static constexpr QRect Band{20, 20, 560, 40};

    void Tick() {
        ++count_;
        update(Band);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(Band, Qt::white);
        QFont font;
        font.setPixelSize(30);
        painter.setFont(font);
        // A reading that changes at every tick, as a counter's does.
        const double kHz = 10000.0 + (count_ % 7) * 0.0001;
        painter.drawText(Band, Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("  %1kHz").arg(kHz, 0, 'f', 4));
    }

  private:
    int count_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 0;
    if (seconds <= 0) {
        return 2;
    }
    QMainWindow frame;
    auto* reading = new ReadingWidget;  // owned by the frame
    reading->setAttribute(Qt::WA_OpaquePaintEvent);
    frame.setCentralWidget(reading);
    frame.statusBar()->showMessage(QStringLiteral("Ready"));
    frame.resize(656, 506);
    frame.show();

    QTimer timer;
    timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer, &QTimer::timeout, reading, &ReadingWidget::Tick);
    timer.start(250);
    QTimer::singleShot(seconds * 1000, &application, &QApplication::quit);
    return QApplication::exec();
}
