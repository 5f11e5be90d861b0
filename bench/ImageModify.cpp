// The image modification job as the page runs it, without its window: the
// same ModifyJob over a folder of photos, writing over the sources.
//
//   bench_ImageModify photos DIR COUNT      COUNT photos of 1920 x 1080 (JPEG q 90)
//   bench_ImageModify logo FILE.png         an opaque 200 x 80 PNG logo
//   bench_ImageModify run TASK DIR [LOGO]   TASK: scale | scale-text | tiff | gif | logo
//
// bench/image-modify.sh times it beside its peers.

#include "modify/ImageCodecs.h"
#include "modify/ModifyJob.h"
#include "text/Encoding.h"

#include <QDir>
#include <QFont>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>

using namespace tuji;

namespace {

// Smooth shapes, gradients and sensor-like noise: compresses like a photo.
QImage Photo(int index) {
    std::mt19937 random(static_cast<unsigned>(index) * 7919u + 1u);
    QImage image(1920, 1080, QImage::Format_RGB32);
    QLinearGradient sky(0, 0, 0, 1080);
    sky.setColorAt(0, QColor::fromHsv(static_cast<int>(random() % 360), 90, 230));
    sky.setColorAt(1, QColor::fromHsv(static_cast<int>(random() % 360), 160, 90));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(image.rect(), sky);
    for (int i = 0; i < 40; ++i) {
        QColor colour =
            QColor::fromHsv(static_cast<int>(random() % 360), static_cast<int>(random() % 200 + 40),
                            static_cast<int>(random() % 200 + 40), 150);
        painter.setBrush(colour);
        painter.setPen(Qt::NoPen);
        const int w = static_cast<int>(random() % 600 + 40),
                  h = static_cast<int>(random() % 400 + 40);
        painter.drawEllipse(static_cast<int>(random() % 1920) - w / 2,
                            static_cast<int>(random() % 1080) - h / 2, w, h);
    }
    painter.end();
    std::normal_distribution<double> noise(0, 6);
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const int n = static_cast<int>(noise(random));
            auto clamp = [](int v) { return v < 0 ? 0 : v > 255 ? 255 : v; };
            row[x] =
                qRgb(clamp(qRed(row[x]) + n), clamp(qGreen(row[x]) + n), clamp(qBlue(row[x]) + n));
        }
    }
    return image;
}

int MakePhotos(const char* dir, int count) {
    QDir().mkpath(dir);
    for (int i = 1; i <= count; ++i) {
        QImageWriter writer(QString("%1/photo%2.jpg").arg(dir).arg(i, 4, 10, QChar('0')), "jpeg");
        writer.setQuality(90);
        if (!writer.write(Photo(i))) return 1;
    }
    return 0;
}

int MakeLogo(const char* path) {
    QImage logo(200, 80, QImage::Format_RGB32);
    logo.fill(QColor(20, 60, 140));
    QPainter painter(&logo);
    painter.setPen(Qt::white);
    painter.setFont(QFont("DejaVu Sans", 28, QFont::Bold));
    painter.drawText(logo.rect(), Qt::AlignCenter, "tuji");
    painter.end();
    return logo.save(path, "png") ? 0 : 1;
}

int Run(const char* task, const char* dir, const char* logo) {
    ModifyJobSettings settings;
    ResizeSettings& resize = settings.resize;
    WatermarkSettings& marks = settings.watermarks;
    if (!std::strcmp(task, "scale")) {
        resize.scaleOn = true;
    } else if (!std::strcmp(task, "scale-text")) {
        resize.scaleOn = true;
        marks.textOn = true;
        marks.text = T("岚舟图集 #年-#月-#日");
        marks.style.fontName = "DejaVu Sans";
        marks.style.fontSize = 20;
        marks.style.backColour = kTransparentValue;
        marks.position = kBottomRight;
    } else if (!std::strcmp(task, "tiff") || !std::strcmp(task, "gif")) {
        resize.convertOn = true;
        resize.targetItem = !std::strcmp(task, "tiff") ? 3 : 2;
    } else if (!std::strcmp(task, "logo") && logo) {
        marks.imageOn = true;
        marks.imageFile = FromQString(QString::fromLocal8Bit(logo));
        marks.position = kTopLeft;
    } else {
        std::fprintf(stderr, "unknown task %s\n", task);
        return 2;
    }
    ModifyJobHooks hooks;
    hooks.typeFilter = [] { return std::string("*.jpg"); };
    hooks.processEvents = [] {};
    StartImageCodecs();
    ModifyJob job(settings, hooks);
    job.Run(FromQString(QString::fromLocal8Bit(dir)), ListingMode::FileSystemObject);
    std::printf("%d %d\n", job.processed(), job.succeeded());
    return job.succeeded() == job.processed() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc == 4 && !std::strcmp(argv[1], "photos"))
        return MakePhotos(argv[2], std::atoi(argv[3]));
    if (argc == 3 && !std::strcmp(argv[1], "logo")) return MakeLogo(argv[2]);
    if ((argc == 4 || argc == 5) && !std::strcmp(argv[1], "run"))
        return Run(argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    std::fprintf(stderr, "usage: see the top of bench/ImageModify.cpp\n");
    return 2;
}
