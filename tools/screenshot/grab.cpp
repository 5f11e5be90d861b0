// Saves the picture of the first top-level window on the display (the
// program's main window under a bare X server) or, failing that, the screen.
//   grab OUTPUT.png X Y WIDTH HEIGHT
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdlib>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc != 6) return 2;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 1;
    const QPixmap picture = screen->grabWindow(0, std::atoi(argv[2]), std::atoi(argv[3]),
                                               std::atoi(argv[4]), std::atoi(argv[5]));
    return picture.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
