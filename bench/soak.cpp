// Soak run: a file grows by 1 MB a second while it is watched with a 10 MB tail and keywords,
// updating the display each second as the window does. Prints the resident memory each
// minute; it must stay flat (the last minute within 10 % of the second). With "fleet", a
// window watches a folder collected from MACHINES machines (50 unless told) instead.
// usage: soak [minutes, default 10] [fleet [MACHINES]]
#include "FleetSoak.h"
#include "JournalExport.h"
#include "LogGenerator.h"
#include "app/UpdatePipeline.h"
#include "display/LogView.h"
#include "tail/MonitorFileSystem.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <string_view>
#include <unistd.h>
#include <vector>

using namespace ombrel;
using bench::residentMegabytes;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const int minutes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    if (argc > 2 && std::string_view(argv[2]) == "fleet") {
        return bench::fleetSoak(minutes, argc > 3 ? std::max(2, std::atoi(argv[3])) : 50);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("growing.log"));
    QFile log(path);
    if (!log.open(QIODevice::WriteOnly)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray megabyte = bench::generateLog(1000 * 1000);
    log.write(megabyte.repeated(10));
    log.flush();

    LocalFileSystem files;
    UpdatePipeline pipeline(files);
    LogView view;
    view.resize(900, 600);
    view.show();
    int shown = 0;
    QObject::connect(&pipeline, &UpdatePipeline::updateReady, &view,
                     [&view, &shown](const DisplayUpdate& update) {
                         view.setModel(update.model);
                         ++shown;
                     });
    const UpdateRequest request{
        path, 10 * 1000 * 1000, {}, bench::sparseKeywords(), {true, false, false}, false, {}};

    int seconds = 0;
    std::vector<double> perMinute;
    QTimer tick;
    tick.setInterval(1000);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        log.write(megabyte);
        log.flush();
        pipeline.request(request);
        if (++seconds % 60 == 0) {
            perMinute.push_back(residentMegabytes());
            std::printf("minute %2zu: resident %.1f MB, %d updates shown, %lld lines\n",
                        perMinute.size(), perMinute.back(), shown,
                        static_cast<long long>(view.model()->lineCount()));
            std::fflush(stdout);
            if (static_cast<int>(perMinute.size()) == minutes) {
                QCoreApplication::quit();
            }
        }
    });
    tick.start();
    QApplication::exec();
    pipeline.waitForIdle(10000);
    if (perMinute.size() >= 2) {
        const double ratio = perMinute.back() / perMinute[1];
        std::printf("last minute / second minute: %.3f (%s)\n", ratio,
                    ratio <= 1.1 ? "flat" : "GROWING");
        return ratio <= 1.1 ? 0 : 1;
    }
    return 0;
}
